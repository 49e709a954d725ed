// A stand-in engine library with the real one's exports. It records every
// call (one line each, in the file named by ZELO_FAKE_ENGINE_LOG) and, for a
// conversion, posts the end message with the wParam in ZELO_FAKE_ENGINE_RESULT
// (default 0). With ZELO_FAKE_ENGINE_HOLD=1 a conversion runs until
// Mydll_Stop, which ends it with wParam 1. A conversion first sends the
// status lines in ZELO_FAKE_ENGINE_STATUS (one per "\n"), when set; ZELO_FAKE_ENGINE_REFUSE=1
// makes it refuse to start (non-zero, no end message). Probes fail unless
// ZELO_FAKE_ENGINE_PROBE is "duration,videoformat,audioformat,width,height":
// then every existing regular file probes so and gets a 2 KiB picture,
// each probe taking ZELO_FAKE_ENGINE_PROBE_DELAY_MS. With
// ZELO_FAKE_ENGINE_PICTURE=garbage the "picture" is 2 KiB that is no JPEG.
// Built in variants that leave out one export (FAKE_OMIT_<export>) to test
// binding failures.
#include "engine/encoder.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <sys/stat.h>
#include <thread>
#include <turbojpeg.h>
#include <vector>

namespace {
std::mutex g_lock;
StatusLineCallback g_status = nullptr;
MessageTarget *g_held = nullptr;

void record(const std::string &line)
{
    const char *path = std::getenv("ZELO_FAKE_ENGINE_LOG");
    if (!path || !*path)
        return;
    std::lock_guard lock(g_lock);
    if (FILE *f = std::fopen(path, "a")) {
        std::fprintf(f, "%s\n", line.c_str());
        std::fclose(f);
    }
}

int envInt(const char *name, int def)
{
    const char *v = std::getenv(name);
    return v && *v ? std::atoi(v) : def;
}
} // namespace

extern "C" {

#ifndef FAKE_OMIT_MyDll_Init
ENCODER_EXPORT void MyDll_Init(void)
{
    record("MyDll_Init");
}
#endif

#ifndef FAKE_OMIT_Mydll_GetFileinfo
ENCODER_EXPORT int Mydll_GetFileinfo(const char *path, ClipInfo *info)
{
    record(std::string("Mydll_GetFileinfo ") + path);
    if (int delay = envInt("ZELO_FAKE_ENGINE_PROBE_DELAY_MS", 0))
        std::this_thread::sleep_for(std::chrono::milliseconds(delay));
    const char *probe = std::getenv("ZELO_FAKE_ENGINE_PROBE");
    struct stat st;
    if (!probe || ::stat(path, &st) != 0 || !S_ISREG(st.st_mode))
        return 1;
    static std::string clipPath, video, audio;
    char v[64] = {}, a[64] = {};
    int duration = 0, w = 0, h = 0;
    if (std::sscanf(probe, "%d,%63[^,],%63[^,],%d,%d", &duration, v, a, &w, &h) != 5)
        return 1;
    clipPath = path;
    video = v;
    audio = a;
    *info = ClipInfo{clipPath.c_str(), duration, video.c_str(), audio.c_str(), w, h, {}};
    return 0;
}
#endif

#ifndef FAKE_OMIT_Mydll_GetPicure
ENCODER_EXPORT int Mydll_GetPicure(const char *path, int, const char *, const char *target)
{
    record(std::string("Mydll_GetPicure ") + path);
    if (!std::getenv("ZELO_FAKE_ENGINE_PROBE"))
        return 1;
    if (const char *kind = std::getenv("ZELO_FAKE_ENGINE_PICTURE");
        kind && std::string(kind) == "garbage") {
        FILE *f = std::fopen(target, "wb");
        if (!f)
            return 1;
        std::string bytes(2048, 'x');
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        return 0;
    }
    // A real 80x60 JPEG in mid grey, padded past 1 KiB with a comment.
    std::vector<unsigned char> pixels(80 * 60 * 3, 0x80);
    tjhandle tj = tjInitCompress();
    unsigned char *jpeg = nullptr;
    unsigned long size = 0;
    int rc = tjCompress2(tj, pixels.data(), 80, 0, 60, TJPF_RGB, &jpeg, &size, TJSAMP_420, 80, 0);
    tjDestroy(tj);
    if (rc != 0)
        return 1;
    std::string bytes(reinterpret_cast<char *>(jpeg), size);
    tjFree(jpeg);
    std::string comment = "\xFF\xFE";
    comment += char(0x04);
    comment += char(0x02);
    comment += std::string(0x0400, ' ');
    bytes.insert(2, comment);
    FILE *f = std::fopen(target, "wb");
    if (!f)
        return 1;
    std::fwrite(bytes.data(), 1, bytes.size(), f);
    std::fclose(f);
    return 0;
}
#endif

#ifndef FAKE_OMIT_SetGetInfoCallBackFun
ENCODER_EXPORT void SetGetInfoCallBackFun(StatusLineCallback cb)
{
    record("SetGetInfoCallBackFun");
    std::lock_guard lock(g_lock);
    g_status = cb;
}
#endif

#ifndef FAKE_OMIT_SetGetPercentCallBackFun
ENCODER_EXPORT void SetGetPercentCallBackFun(PercentCallback)
{
    record("SetGetPercentCallBackFun");
}
#endif

#ifndef FAKE_OMIT__X
ENCODER_EXPORT int _X(MessageTarget *window, int argc, char **argv)
{
    std::string line = "_X " + std::to_string(argc);
    for (int i = 0; i < argc; ++i)
        line += std::string("|") + (argv[i] ? argv[i] : "(null)");
    record(line);
    if (envInt("ZELO_FAKE_ENGINE_REFUSE", 0))
        return 1; // busy, as far as the caller can tell: no end message
    if (const char *status = std::getenv("ZELO_FAKE_ENGINE_STATUS")) {
        StatusLineCallback cb;
        {
            std::lock_guard lock(g_lock);
            cb = g_status;
        }
        std::string lines = status;
        for (size_t from = 0; cb && from <= lines.size();) {
            size_t to = lines.find('\n', from);
            if (to == std::string::npos)
                to = lines.size();
            cb(lines.substr(from, to - from).c_str());
            from = to + 1;
        }
    }
    if (envInt("ZELO_FAKE_ENGINE_HOLD", 0)) {
        std::lock_guard lock(g_lock);
        g_held = window;
        return 0;
    }
    window->post(window, WM_CONVERT_DONE, envInt("ZELO_FAKE_ENGINE_RESULT", 0), 0);
    return 0;
}
#endif

#ifndef FAKE_OMIT_Mydll_Stop
ENCODER_EXPORT void Mydll_Stop(void)
{
    record("Mydll_Stop");
    MessageTarget *held;
    {
        std::lock_guard lock(g_lock);
        held = g_held;
        g_held = nullptr;
    }
    if (held)
        held->post(held, WM_CONVERT_DONE, CONVERT_DONE_STOPPED, 0);
}
#endif

#ifndef FAKE_OMIT_MyDll_UnInit
ENCODER_EXPORT void MyDll_UnInit(void)
{
    record("MyDll_UnInit");
}
#endif

} // extern "C"
