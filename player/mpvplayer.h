// One preview player: an mpv instance, the thread that turns its events into
// the messages and callbacks of playfile.h, and the state the exports read.
#pragma once

#include "player/playfile.h"

#include <atomic>
#include <cstdint>
#include <thread>

struct mpv_handle;
struct mpv_event;
struct mpv_render_context;

class MpvPlayer
{
public:
    // Null when mpv cannot be created or initialised.
    static MpvPlayer *create(MessageTarget *window, std::atomic<PlayerEventCallback> *callback,
                             PlayerOpenedInfo *opened);
    ~MpvPlayer();

    MpvPlayer(const MpvPlayer &) = delete;
    MpvPlayer &operator=(const MpvPlayer &) = delete;

    void open(const char *path);
    bool play(double rate);
    void stop();
    void pause();
    void setKeepRatio(bool keepRatio);
    // Exact, or to the nearest key frame (quick, for a held slider).
    void seek(double seconds, bool exact = true);
    bool position(double *duration, double *seconds, double *percent);
    bool render(int width, int height, int stride, void *pixels);

private:
    MpvPlayer(mpv_handle *mpv, mpv_render_context *render, MessageTarget *window,
              std::atomic<PlayerEventCallback> *callback, PlayerOpenedInfo *opened);
    static void frameDue(void *self);
    void run();
    void handle(const mpv_event &event);
    void fileLoaded();
    void fileEnded(int reason, int error);
    void post(unsigned msg, uintptr_t wParam, intptr_t lParam);
    void report(int code, int value);

    mpv_handle *m_mpv;
    mpv_render_context *m_render;
    MessageTarget *m_window;
    std::atomic<PlayerEventCallback> *m_callback;
    PlayerOpenedInfo *m_opened;
    std::atomic<bool> m_loaded{false};   // a clip is open (between loaded and ended)
    std::atomic<bool> m_stopping{false}; // the next end was asked for, not suffered
    std::atomic<bool> m_quit{false};
    std::atomic<bool> m_framePosted{false}; // a PLAYER_MSG_FRAME not yet rendered
    std::thread m_events;
};
