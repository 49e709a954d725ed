// The exports of playfile.h over one MpvPlayer at a time.
#include "player/messagetarget.h"
#include "player/mpvplayer.h"
#include "player/playfile.h"

#include <atomic>

namespace {
MpvPlayer *g_player = nullptr;
std::atomic<PlayerEventCallback> g_callback{nullptr};
bool g_keepRatio = true;
} // namespace

extern "C" {

PLAYFILE_EXPORT int PlayerInit(MessageTarget *window)
{
    // The same receiver keeps its core: starting mpv costs far more than a
    // clip change.
    if (!g_player || g_player->window() != window) {
        PlayerClose();
        g_player = MpvPlayer::create(window, &g_callback);
        if (!g_player)
            return 0;
        g_player->setKeepRatio(g_keepRatio);
    }
    if (window && window->post)
        window->post(window, PLAYER_MSG_HOOK, 0, 0);
    return 1;
}

PLAYFILE_EXPORT void PlayerClose(void)
{
    delete g_player;
    g_player = nullptr;
}

PLAYFILE_EXPORT int PlayerOpen(const char *path, int)
{
    if (!g_player || !path)
        return 0;
    return int(g_player->open(path));
}

PLAYFILE_EXPORT int PlayerPlay(double rate)
{
    return g_player && g_player->play(rate) ? 1 : 0;
}

PLAYFILE_EXPORT void PlayerStop(void)
{
    if (g_player)
        g_player->stop();
}

PLAYFILE_EXPORT void PlayerPause(void)
{
    if (g_player)
        g_player->pause();
}

PLAYFILE_EXPORT void PlayerSetWindow(uintptr_t, int, int keepRatio)
{
    g_keepRatio = keepRatio != 0;
    if (g_player)
        g_player->setKeepRatio(g_keepRatio);
}

PLAYFILE_EXPORT void PlayerSeek(double seconds)
{
    if (g_player)
        g_player->seek(seconds);
}

PLAYFILE_EXPORT int PlayerGetPosition(double *duration, double *seconds, double *percent)
{
    if (!g_player || !duration || !seconds || !percent)
        return 0;
    return g_player->position(duration, seconds, percent) ? 1 : 0;
}

PLAYFILE_EXPORT void PlayerSetCallback(PlayerEventCallback callback)
{
    g_callback = callback;
}

PLAYFILE_EXPORT void PlayerScrub(double seconds)
{
    if (g_player)
        g_player->seek(seconds, false);
}

PLAYFILE_EXPORT int PlayerRenderFrame(int width, int height, int stride, void *pixels)
{
    return g_player && g_player->render(width, height, stride, pixels) ? 1 : 0;
}
}
