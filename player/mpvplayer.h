// The preview player: one mpv core for the library's life, the thread that
// turns its events into the messages and callbacks of playfile.h, and the
// last values of the properties it observes.
#pragma once

#include "player/orientation.h"
#include "player/playfile.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

struct mpv_handle;
struct mpv_event;
struct mpv_render_context;

class MpvPlayer
{
public:
    // Null when mpv cannot be created or initialised.
    static MpvPlayer *create(MessageTarget *window, std::atomic<PlayerEventCallback> *callback);
    ~MpvPlayer();

    MpvPlayer(const MpvPlayer &) = delete;
    MpvPlayer &operator=(const MpvPlayer &) = delete;

    MessageTarget *window() const { return m_window; }

    // The generation the clip's messages will carry.
    unsigned open(const char *path);
    bool play(double rate);
    void stop();
    void pause();
    void setKeepRatio(bool keepRatio);
    // Exact, or to the nearest key frame (quick, for a held slider).
    void seek(double seconds, bool exact = true);
    bool position(double *duration, double *seconds, double *percent) const;
    bool render(int width, int height, int stride, void *pixels);

private:
    struct Opening
    {
        unsigned generation;
        std::string path;
        int64_t entry = -1; // mpv's playlist entry, once its loadfile answered
        bool answered = false;
    };

    MpvPlayer(mpv_handle *mpv, mpv_render_context *render, MessageTarget *window,
              std::atomic<PlayerEventCallback> *callback);
    static void frameDue(void *self);
    bool draw(int width, int height, std::size_t stride, void *pixels);
    void run();
    void handle(const mpv_event &event);
    void loadAnswered(unsigned generation, int64_t entry);
    void fileStarted(int64_t entry);
    void fileLoaded();
    void fileEnded(int reason, int error);
    void propertyChanged(uint64_t which, const void *data, int format);
    bool current() const { return m_started == m_generation; }
    unsigned nextGeneration() const;
    void post(unsigned msg, uintptr_t wParam, intptr_t lParam);
    void postEvent(int code, intptr_t value);
    void report(int code, int value);

    mpv_handle *m_mpv;
    mpv_render_context *m_render;
    MessageTarget *m_window;
    std::atomic<PlayerEventCallback> *m_callback;
    // The newest open or stop asked for (user-interface thread), and the clip
    // mpv's events are about now (event thread). Events of any other
    // generation are late and change nothing.
    std::atomic<unsigned> m_generation{0};
    std::atomic<unsigned> m_started{0};
    std::atomic<bool> m_loaded{false}; // the started clip is open (loaded, not ended)
    std::atomic<double> m_timePos{-1}, m_duration{0};
    std::atomic<int> m_turn{0}; // the started clip's Orientation, packed
    std::mutex m_openingsLock;
    std::vector<Opening> m_openings;  // loadfiles whose clip has not started yet
    std::vector<uint32_t> m_unturned; // user-interface thread: the picture before its turn
    bool m_turnByFilter = false;
    std::atomic<bool> m_quit{false};
    std::atomic<bool> m_framePosted{false}; // a PLAYER_MSG_FRAME not yet rendered
    std::thread m_events;
};
