#include "player/mpvplayer.h"

#include "player/messagetarget.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mpv/client.h>
#include <mpv/render.h>

namespace {
enum Observed : uint64_t
{
    PauseProperty = 1,
    TimePosProperty,
    DurationProperty,
};

// Marks the answer to a loadfile; the low bits carry its generation.
constexpr uint64_t kLoadAnswer = uint64_t(1) << 32;
// Generations fit the bits of a message's wParam above the event code.
constexpr unsigned kGenerationMask = 0xffffff;

void setOption(mpv_handle *mpv, const char *name, const char *value)
{
    mpv_set_option_string(mpv, name, value);
}

int Packed(Orientation o)
{
    return o.turns | (o.mirrored ? 4 : 0);
}

Orientation Unpacked(int packed)
{
    return {packed & 3, (packed & 4) != 0};
}

// The playlist entry a loadfile's answer names, or -1.
int64_t EntryOf(const mpv_node &result)
{
    if (result.format != MPV_FORMAT_NODE_MAP || !result.u.list)
        return -1;
    const mpv_node_list &map = *result.u.list;
    for (int i = 0; i < map.num; ++i)
        if (std::strcmp(map.keys[i], "playlist_entry_id") == 0 &&
            map.values[i].format == MPV_FORMAT_INT64)
            return map.values[i].u.int64;
    return -1;
}
} // namespace

MpvPlayer *MpvPlayer::create(MessageTarget *window, std::atomic<PlayerEventCallback> *callback)
{
    mpv_handle *mpv = mpv_create();
    if (!mpv)
        return nullptr;
    // A preview inside our own window: no user configuration, no scripts, no
    // keys or on-screen controls of mpv's own, nothing printed.
    setOption(mpv, "config", "no");
    // PLAYFILE_LOG=<file> writes mpv's own log there, for finding out why a
    // clip does not play.
    if (const char *log = std::getenv("PLAYFILE_LOG"); log && *log) {
        setOption(mpv, "log-file", log);
        setOption(mpv, "msg-level", "all=v");
    }
    setOption(mpv, "terminal", "no");
    setOption(mpv, "load-scripts", "no");
    setOption(mpv, "load-stats-overlay", "no");
    setOption(mpv, "load-osd-console", "no");
    setOption(mpv, "load-auto-profiles", "no");
    setOption(mpv, "ytdl", "no");
    setOption(mpv, "osc", "no");
    setOption(mpv, "osd-level", "0");
    setOption(mpv, "input-default-bindings", "no");
    setOption(mpv, "input-vo-keyboard", "no");
    setOption(mpv, "input-cursor", "no");
    setOption(mpv, "cursor-autohide", "no");
    setOption(mpv, "idle", "yes");
    setOption(mpv, "keep-open", "no");
    // Machines without a sound device still show the picture, in silence.
    setOption(mpv, "audio-fallback-to-null", "yes");
    // Pictures go only to the render context below, never to a window.
    setOption(mpv, "vo", "libmpv");
    // Rendering happens on the program's user-interface thread: it must
    // never wait there for a picture's display time.
    setOption(mpv, "video-timing-offset", "0");
    // Scaling on the CPU: the quick scaler is plenty for a small panel.
    setOption(mpv, "sw-fast", "yes");
    // An exact seek decodes every picture from the key frame before it.
    // Without deblocking it does so about a fifth quicker (on a 720p H.264
    // clip with key frames 8 s apart: 140 against 170 ms from release to
    // picture), which decides whether the picture follows the hand. The
    // price, slightly blockier H.264 pictures until the next key frame,
    // shows only in the preview and least in the large clips it shrinks;
    // conversions always deblock.
    setOption(mpv, "vd-lavc-skiploopfilter", "all");
    setOption(mpv, "vd-lavc-fast", "yes");
    // The first picture, and the one after a seek, a frame or two earlier.
    setOption(mpv, "video-latency-hacks", "yes");
    setOption(mpv, "stop-screensaver", "no");
    setOption(mpv, "force-window", "no");
    // Debian 12's software renderer aborts when it turns a picture itself
    // (a phone clip stored on its side): the turn is ours (render).
    setOption(mpv, "video-rotate", "no");
    if (mpv_initialize(mpv) < 0) {
        mpv_terminate_destroy(mpv);
        return nullptr;
    }
    mpv_render_param params[] = {
        {MPV_RENDER_PARAM_API_TYPE, const_cast<char *>(MPV_RENDER_API_TYPE_SW)},
        {MPV_RENDER_PARAM_INVALID, nullptr}};
    mpv_render_context *render = nullptr;
    if (mpv_render_context_create(&render, mpv, params) < 0) {
        mpv_terminate_destroy(mpv);
        return nullptr;
    }
    // Read back from their last change, never asked for on the thread that
    // renders: mpv may be waiting there for a picture to be drawn.
    mpv_observe_property(mpv, PauseProperty, "pause", MPV_FORMAT_FLAG);
    mpv_observe_property(mpv, TimePosProperty, "time-pos", MPV_FORMAT_DOUBLE);
    mpv_observe_property(mpv, DurationProperty, "duration", MPV_FORMAT_DOUBLE);
    return new MpvPlayer(mpv, render, window, callback);
}

MpvPlayer::MpvPlayer(mpv_handle *mpv, mpv_render_context *render, MessageTarget *window,
                     std::atomic<PlayerEventCallback> *callback)
    : m_mpv(mpv), m_render(render), m_window(window), m_callback(callback)
{
    // PLAYFILE_TURN=filter turns the pictures with a filter before they are
    // scaled, the way the preview benchmark compares with ours.
    const char *turn = std::getenv("PLAYFILE_TURN");
    m_turnByFilter = turn && std::strcmp(turn, "filter") == 0;
    m_events = std::thread([this] { run(); });
    mpv_render_context_set_update_callback(m_render, &MpvPlayer::frameDue, this);
}
MpvPlayer::~MpvPlayer()
{
    // The render context goes first (mpv's rule), and with it its callback.
    mpv_render_context_free(m_render);
    m_quit = true;
    mpv_wakeup(m_mpv);
    m_events.join();
    mpv_terminate_destroy(m_mpv);
}

// Called on one of mpv's threads: only a post, and only one outstanding, so
// a busy user-interface thread never finds its queue full of them.
void MpvPlayer::frameDue(void *self)
{
    auto *player = static_cast<MpvPlayer *>(self);
    if (!player->m_framePosted.exchange(true))
        player->post(PLAYER_MSG_FRAME, 0, 0);
}

// Requests from the user-interface thread go to mpv without waiting for it:
// that thread also renders, and mpv may be waiting for a picture to be drawn.
bool MpvPlayer::render(int width, int height, int stride, void *pixels)
{
    if (width <= 0 || height <= 0 || !pixels || stride < 4 * width || stride % 4)
        return false;
    // Cleared before the update, so a picture that comes due meanwhile is
    // posted again.
    m_framePosted = false;
    mpv_render_context_update(m_render);
    const Orientation turn = Unpacked(m_turn);
    if (turn.upright())
        return draw(width, height, size_t(stride), pixels);
    // Drawn as stored into a picture of the turned shape, then turned: a
    // panel-sized picture costs far less to turn than the decoded one.
    const int w = turn.quarter() ? height : width, h = turn.quarter() ? width : height;
    m_unturned.resize(size_t(w) * size_t(h));
    if (!draw(w, h, size_t(w) * 4, m_unturned.data()))
        return false;
    TurnPicture(m_unturned.data(), w, h, w, static_cast<uint32_t *>(pixels), stride / 4, turn);
    return true;
}

bool MpvPlayer::draw(int width, int height, size_t stride, void *pixels)
{
    int size[2] = {width, height};
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("bgr0")},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &stride},
                                 {MPV_RENDER_PARAM_SW_POINTER, pixels},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(m_render, params) >= 0;
}

// 1 to kGenerationMask, round and round: 0 stays "none".
unsigned MpvPlayer::nextGeneration() const
{
    const unsigned generation = (m_generation + 1) & kGenerationMask;
    return generation ? generation : 1;
}

unsigned MpvPlayer::open(const char *path)
{
    const unsigned generation = nextGeneration();
    {
        std::lock_guard<std::mutex> lock(m_openingsLock);
        // Only the newest few can still start; a burst of clicks leaves
        // the rest behind.
        if (m_openings.size() >= 8)
            m_openings.erase(m_openings.begin());
        m_openings.push_back({generation, path, -1});
    }
    m_generation = generation;
    // Opened paused: the program starts playback when it has seen the clip open.
    int yes = 1;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &yes);
    // The same core for every clip: the new one replaces the old.
    const char *cmd[] = {"loadfile", path, "replace", nullptr};
    mpv_command_async(m_mpv, kLoadAnswer | m_generation, cmd);
    return m_generation;
}

bool MpvPlayer::play(double rate)
{
    if (!current() || !m_loaded)
        return false;
    double speed = rate > 0 && std::isfinite(rate) ? rate : 1.0;
    mpv_set_property_async(m_mpv, 0, "speed", MPV_FORMAT_DOUBLE, &speed);
    int no = 0;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &no);
    return true;
}

void MpvPlayer::stop()
{
    // A generation of its own, so the stopped clip's last messages are late.
    m_generation = nextGeneration();
    const char *cmd[] = {"stop", nullptr};
    mpv_command_async(m_mpv, 0, cmd);
}

void MpvPlayer::pause()
{
    int yes = 1;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &yes);
}

void MpvPlayer::setKeepRatio(bool keepRatio)
{
    int keep = keepRatio ? 1 : 0;
    mpv_set_property_async(m_mpv, 0, "keepaspect", MPV_FORMAT_FLAG, &keep);
}

void MpvPlayer::seek(double seconds, bool exact)
{
    if (!current() || !m_loaded || !std::isfinite(seconds))
        return;
    mpv_node args[3];
    mpv_node_list list{3, args, nullptr};
    args[0].format = MPV_FORMAT_STRING;
    args[0].u.string = const_cast<char *>("seek");
    args[1].format = MPV_FORMAT_DOUBLE;
    args[1].u.double_ = seconds < 0 ? 0 : seconds;
    args[2].format = MPV_FORMAT_STRING;
    args[2].u.string = const_cast<char *>(exact ? "absolute+exact" : "absolute+keyframes");
    mpv_node cmd;
    cmd.format = MPV_FORMAT_NODE_ARRAY;
    cmd.u.list = &list;
    mpv_command_node_async(m_mpv, 0, &cmd);
}

bool MpvPlayer::position(double *duration, double *seconds, double *percent) const
{
    const double pos = m_timePos, length = m_duration;
    if (!current() || !m_loaded || pos < 0)
        return false;
    *duration = length;
    *seconds = pos;
    *percent = length > 0 ? std::fmin(100.0, pos * 100.0 / length) : 0;
    return true;
}

void MpvPlayer::run()
{
    while (!m_quit) {
        mpv_event *event = mpv_wait_event(m_mpv, -1);
        if (event->event_id == MPV_EVENT_SHUTDOWN)
            break;
        if (!m_quit)
            handle(*event);
    }
}

void MpvPlayer::handle(const mpv_event &event)
{
    switch (event.event_id) {
    case MPV_EVENT_COMMAND_REPLY:
        if (event.reply_userdata & kLoadAnswer)
            loadAnswered(unsigned(event.reply_userdata & kGenerationMask),
                         event.error < 0
                             ? -1
                             : EntryOf(static_cast<const mpv_event_command *>(event.data)->result));
        break;
    case MPV_EVENT_START_FILE:
        fileStarted(static_cast<const mpv_event_start_file *>(event.data)->playlist_entry_id);
        break;
    case MPV_EVENT_FILE_LOADED:
        fileLoaded();
        break;
    case MPV_EVENT_END_FILE: {
        const auto *end = static_cast<const mpv_event_end_file *>(event.data);
        fileEnded(end->reason, end->error);
        break;
    }
    case MPV_EVENT_PROPERTY_CHANGE: {
        const auto *prop = static_cast<const mpv_event_property *>(event.data);
        propertyChanged(event.reply_userdata, prop->data, prop->format);
        break;
    }
    default:
        break;
    }
}

void MpvPlayer::loadAnswered(unsigned generation, int64_t entry)
{
    std::lock_guard<std::mutex> lock(m_openingsLock);
    for (Opening &o : m_openings)
        if (o.generation == generation)
            o.entry = entry, o.answered = true;
}

// Every event from here to the next start is about this clip: mpv ends one
// clip before it starts the next.
void MpvPlayer::fileStarted(int64_t entry)
{
    std::string path;
    unsigned generation = 0;
    {
        std::lock_guard<std::mutex> lock(m_openingsLock);
        // The loadfile that made this entry; without its answer, the newest
        // answered one (mpv starts only the last of those it took at once).
        auto it = std::find_if(m_openings.begin(), m_openings.end(),
                               [entry](const Opening &o) { return o.entry == entry; });
        if (it == m_openings.end()) {
            auto answered = std::find_if(m_openings.rbegin(), m_openings.rend(),
                                         [](const Opening &o) { return o.answered; });
            it = answered != m_openings.rend() ? std::prev(answered.base()) : m_openings.end();
        }
        if (it != m_openings.end()) {
            generation = it->generation;
            path = it->path;
            m_openings.erase(m_openings.begin(), it + 1);
        }
    }
    m_loaded = false;
    m_timePos = -1;
    m_duration = 0;
    m_started = generation;
    const Orientation turn = OrientationOf(path.empty() ? nullptr : path.c_str());
    if (m_turnByFilter) {
        const std::string chain = turn.upright() ? "" : "lavfi=[" + TurnFilter(turn) + "]";
        const char *cmd[] = {"set", "vf", chain.c_str(), nullptr};
        mpv_command_async(m_mpv, 0, cmd);
        m_turn = 0;
    } else {
        m_turn = Packed(turn);
    }
}

void MpvPlayer::fileLoaded()
{
    int seekable = 0;
    mpv_get_property(m_mpv, "seekable", MPV_FORMAT_FLAG, &seekable);
    m_loaded = true;
    postEvent(PLAYER_EVENT_OPENED, seekable ? 1 : 0);
}

void MpvPlayer::fileEnded(int reason, int error)
{
    m_loaded = false;
    postEvent(PLAYER_EVENT_ENDED, reason);
    // Stopped or replaced: asked for, not suffered.
    if (!current() || reason == MPV_END_FILE_REASON_STOP || reason == MPV_END_FILE_REASON_QUIT)
        return;
    if (reason == MPV_END_FILE_REASON_ERROR) {
        const int code = error < 0 ? error : MPV_ERROR_GENERIC;
        // Also as a message: it follows the hook message in the receiver's
        // queue, so it is seen even before the callback is registered.
        postEvent(PLAYER_EVENT_PLAYING, code);
        report(PLAYER_CALLBACK_ERROR, code);
    } else if (reason == MPV_END_FILE_REASON_EOF) {
        report(PLAYER_CALLBACK_END_OF_FILE, 0);
    }
}

void MpvPlayer::propertyChanged(uint64_t which, const void *data, int format)
{
    const bool known = data && format != MPV_FORMAT_NONE;
    switch (which) {
    case TimePosProperty:
        m_timePos = known && format == MPV_FORMAT_DOUBLE
                        ? std::fmax(0.0, *static_cast<const double *>(data))
                        : -1;
        break;
    case DurationProperty:
        m_duration = known && format == MPV_FORMAT_DOUBLE ? *static_cast<const double *>(data) : 0;
        break;
    case PauseProperty:
        if (known && format == MPV_FORMAT_FLAG && m_loaded)
            postEvent(*static_cast<const int *>(data) ? PLAYER_EVENT_PAUSED : PLAYER_EVENT_PLAYING,
                      0);
        break;
    default:
        break;
    }
}

void MpvPlayer::post(unsigned msg, uintptr_t wParam, intptr_t lParam)
{
    if (m_window && m_window->post)
        m_window->post(m_window, msg, wParam, lParam);
}

void MpvPlayer::postEvent(int code, intptr_t value)
{
    post(PLAYER_MSG_EVENT, PLAYER_EVENT_WPARAM(code, m_started), value);
}

void MpvPlayer::report(int code, int value)
{
    if (PlayerEventCallback cb = m_callback->load())
        cb(code, value, int(m_started.load()));
}
