// Placeholder engine: binds and answers, but cannot yet read or write media.
// Probing, thumbnails and conversion report failure until the FFmpeg-based
// engine replaces this file.
#include "encoder.h"

#include <mutex>

namespace {
std::mutex g_lock;
StatusLineCallback g_statusLine = nullptr;
} // namespace

extern "C" {

void MyDll_Init(void) {}

int Mydll_GetFileinfo(const char *, ClipInfo *)
{
    return 1;
}

int Mydll_GetPicure(const char *, int, const char *, const char *)
{
    return 1;
}

void SetGetInfoCallBackFun(StatusLineCallback cb)
{
    std::lock_guard lock(g_lock);
    g_statusLine = cb;
}

void SetGetPercentCallBackFun(PercentCallback) {}

int _X(MessageTarget *window, int, char **)
{
    StatusLineCallback cb;
    {
        std::lock_guard lock(g_lock);
        cb = g_statusLine;
    }
    if (cb)
        cb("error: this engine cannot convert yet");
    if (window && window->post)
        window->post(window, WM_CONVERT_DONE, CONVERT_DONE_FAILED, 0);
    return 0;
}

void Mydll_Stop(void) {}

void MyDll_UnInit(void) {}

} // extern "C"
