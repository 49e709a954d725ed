// A stand-in engine library with the real one's exports. It records every
// call (one line each, in the file named by ZELO_FAKE_ENGINE_LOG) and, for a
// conversion, posts the end message with the wParam in ZELO_FAKE_ENGINE_RESULT
// (default 0). With ZELO_FAKE_ENGINE_HOLD=1 a conversion runs until
// Mydll_Stop, which ends it with wParam 1. Built in variants that leave out
// one export (FAKE_OMIT_<export>) to test binding failures.
#include "encoder.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

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

[[maybe_unused]] int envInt(const char *name, int def)
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
ENCODER_EXPORT int Mydll_GetFileinfo(const char *path, ClipInfo *)
{
    record(std::string("Mydll_GetFileinfo ") + path);
    return 1;
}
#endif

#ifndef FAKE_OMIT_Mydll_GetPicure
ENCODER_EXPORT int Mydll_GetPicure(const char *path, int, const char *, const char *)
{
    record(std::string("Mydll_GetPicure ") + path);
    return 1;
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
