// probe-bench: how long probing a file and writing its thumbnail takes
// inside the program's process, as the clip list does it for each added
// file.
//
//   probe-bench ENGINE_LIBRARY RUNS SCRATCH_JPEG FILE...
//
// ENGINE_LIBRARY is the full path of libEncoder.so. Prints one line per
// file: its name and the fastest of RUNS rounds, in milliseconds.
#include "engine/encoder.h"
#include "tools/enginelibrary.h"

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>

int main(int argc, char **argv)
{
    if (argc < 5) {
        std::fprintf(stderr, "usage: probe-bench ENGINE_LIBRARY RUNS SCRATCH_JPEG FILE...\n");
        return 2;
    }
    const char *tool = "probe-bench";
    void *lib = openEngine(argv[1], tool);
    void (*init)() = nullptr;
    int (*probe)(const char *, ClipInfo *) = nullptr;
    int (*picture)(const char *, int, const char *, const char *) = nullptr;
    if (!lib || !bindEntry(lib, "MyDll_Init", init, tool) ||
        !bindEntry(lib, "Mydll_GetFileinfo", probe, tool) ||
        !bindEntry(lib, "Mydll_GetPicure", picture, tool))
        return 3;
    const int runs = std::max(1, std::atoi(argv[2]));
    const char *scratch = argv[3];
    init();
    int failures = 0;
    for (int f = 4; f < argc; ++f) {
        double best = 1e9;
        for (int r = 0; r < runs; ++r) {
            ClipInfo info;
            std::memset(&info, 0, sizeof info);
            auto start = std::chrono::steady_clock::now();
            const bool ok =
                probe(argv[f], &info) == 0 && picture(argv[f], 5, "80x60", scratch) == 0;
            std::chrono::duration<double, std::milli> took =
                std::chrono::steady_clock::now() - start;
            best = std::min(best, took.count());
            failures += ok ? 0 : 1;
            std::remove(scratch);
        }
        std::printf("%s %.1f\n", argv[f], best);
    }
    return failures ? 1 : 0;
}
