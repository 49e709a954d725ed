// A stand-in player library with the real one's exports. It records every
// call (one line each, in the file named by ZELO_FAKE_PLAYER_LOG) and acts
// out the messages a player sends, on the caller's thread:
// - PlayerInit posts the hook message; ZELO_FAKE_PLAYER_INIT=0 makes it fail.
// - PlayerOpen returns the clip's generation (1, 2, ...) and posts the opened
//   event with it, valued ZELO_FAKE_PLAYER_SEEKABLE (default 1), unless
//   ZELO_FAKE_PLAYER_SILENT=1.
// - PlayerPlay returns 1 while a clip is open and posts event 1.
// - PlayerGetPosition reads "seconds,percent[,length]" from
//   ZELO_FAKE_PLAYER_POSITION; unset, it fails.
// FakePlayerFire(code) calls the registered event callback with the open
// clip's generation, as a player does at the end of a clip or on an error.
// Built in variants that leave out one export (FAKE_OMIT_<export>).
#include "engine/encoder.h"
#include "player/playfile.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {
MessageTarget *g_window = nullptr;
PlayerEventCallback g_callback = nullptr;
bool g_open = false;
unsigned g_generation = 0;

void record(const std::string &line)
{
    const char *path = std::getenv("ZELO_FAKE_PLAYER_LOG");
    if (!path || !*path)
        return;
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

void post(unsigned msg, uintptr_t wParam, intptr_t lParam)
{
    if (g_window)
        g_window->post(g_window, msg, wParam, lParam);
}

std::string number(double v)
{
    char text[64];
    std::snprintf(text, sizeof text, "%g", v);
    return text;
}
} // namespace

extern "C" {

#ifndef FAKE_OMIT_PlayerInit
PLAYFILE_EXPORT int PlayerInit(MessageTarget *window)
{
    record("PlayerInit");
    if (!envInt("ZELO_FAKE_PLAYER_INIT", 1))
        return 0;
    g_window = window;
    post(PLAYER_MSG_HOOK, 0, 0);
    return 1;
}
#endif

#ifndef FAKE_OMIT_PlayerClose
PLAYFILE_EXPORT void PlayerClose(void)
{
    record("PlayerClose");
    g_open = false;
    g_window = nullptr;
}
#endif

#ifndef FAKE_OMIT_PlayerOpen
PLAYFILE_EXPORT int PlayerOpen(const char *path, int reserved)
{
    record("PlayerOpen " + std::string(path) + " " + std::to_string(reserved));
    g_open = true;
    ++g_generation;
    if (!envInt("ZELO_FAKE_PLAYER_SILENT", 0))
        post(PLAYER_MSG_EVENT, PLAYER_EVENT_WPARAM(PLAYER_EVENT_OPENED, g_generation),
             envInt("ZELO_FAKE_PLAYER_SEEKABLE", 1));
    return int(g_generation);
}
#endif

#ifndef FAKE_OMIT_PlayerPlay
PLAYFILE_EXPORT int PlayerPlay(double rate)
{
    record("PlayerPlay " + number(rate) + (g_open ? " resumed" : " nothing"));
    if (!g_open)
        return 0;
    post(PLAYER_MSG_EVENT, PLAYER_EVENT_WPARAM(PLAYER_EVENT_PLAYING, g_generation), 0);
    return 1;
}
#endif

#ifndef FAKE_OMIT_PlayerStop
PLAYFILE_EXPORT void PlayerStop(void)
{
    record("PlayerStop");
    g_open = false;
}
#endif

#ifndef FAKE_OMIT_PlayerPause
PLAYFILE_EXPORT void PlayerPause(void)
{
    record("PlayerPause");
}
#endif

#ifndef FAKE_OMIT_PlayerSetWindow
PLAYFILE_EXPORT void PlayerSetWindow(uintptr_t nativeWindow, int reserved, int keepRatio)
{
    record(std::string("PlayerSetWindow ") + (nativeWindow ? "panel " : "none ") +
           std::to_string(reserved) + " " + std::to_string(keepRatio));
}
#endif

#ifndef FAKE_OMIT_PlayerSeek
PLAYFILE_EXPORT void PlayerSeek(double seconds)
{
    record("PlayerSeek " + number(seconds));
}
#endif

#ifndef FAKE_OMIT_PlayerScrub
PLAYFILE_EXPORT void PlayerScrub(double seconds)
{
    record("PlayerScrub " + number(seconds));
}
#endif

#ifndef FAKE_OMIT_PlayerGetPosition
PLAYFILE_EXPORT int PlayerGetPosition(double *first, double *seconds, double *percent)
{
    record("PlayerGetPosition");
    const char *v = std::getenv("ZELO_FAKE_PLAYER_POSITION");
    double s = 0, p = 0, length = 0;
    if (!v || std::sscanf(v, "%lf,%lf,%lf", &s, &p, &length) < 2)
        return 0;
    *first = length;
    *seconds = s;
    *percent = p;
    return 1;
}
#endif

#ifndef FAKE_OMIT_PlayerSetCallback
PLAYFILE_EXPORT void PlayerSetCallback(PlayerEventCallback callback)
{
    record("PlayerSetCallback");
    g_callback = callback;
}
#endif

PLAYFILE_EXPORT unsigned FakePlayerGeneration(void)
{
    return g_generation;
}

PLAYFILE_EXPORT void FakePlayerFire(int code)
{
    if (g_callback)
        g_callback(code, 0, int(g_generation));
}
}
