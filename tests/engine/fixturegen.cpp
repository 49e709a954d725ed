// Fills the engine tests' media folder; run once per test run as the CTest
// fixture step.
#include "tests/engine/fixturecatalog.h"

#include <cstdio>
#include <filesystem>

extern "C" {
#include <libavutil/log.h>
}

int main(int argc, char **argv)
{
    // The muxers' buffer remarks are no news here; real failures are reported.
    av_log_set_level(AV_LOG_FATAL);
    const std::string folder = argc > 1 ? argv[1] : fixtureFolder();
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    std::filesystem::create_directories(folder, ec);
    std::string error;
    if (ec || !makeAllFixtures(folder, error)) {
        std::fprintf(stderr, "engine fixtures: %s\n", ec ? ec.message().c_str() : error.c_str());
        return 1;
    }
    std::printf("engine fixtures written to %s\n", folder.c_str());
    return 0;
}
