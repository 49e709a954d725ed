#include "player/mpvplayer.h"

#include "player/messagetarget.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <mpv/client.h>
#include <mpv/render.h>

namespace {
enum Observed : uint64_t
{
    PauseProperty = 1,
};

void setOption(mpv_handle *mpv, const char *name, const char *value)
{
    mpv_set_option_string(mpv, name, value);
}
} // namespace

MpvPlayer *MpvPlayer::create(MessageTarget *window, std::atomic<PlayerEventCallback> *callback,
                             PlayerOpenedInfo *opened)
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
    mpv_observe_property(mpv, PauseProperty, "pause", MPV_FORMAT_FLAG);
    return new MpvPlayer(mpv, render, window, callback, opened);
}

MpvPlayer::MpvPlayer(mpv_handle *mpv, mpv_render_context *render, MessageTarget *window,
                     std::atomic<PlayerEventCallback> *callback, PlayerOpenedInfo *opened)
    : m_mpv(mpv), m_render(render), m_window(window), m_callback(callback), m_opened(opened)
{
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
    int size[2] = {width, height};
    size_t bytesPerLine = size_t(stride);
    mpv_render_param params[] = {{MPV_RENDER_PARAM_SW_SIZE, size},
                                 {MPV_RENDER_PARAM_SW_FORMAT, const_cast<char *>("bgr0")},
                                 {MPV_RENDER_PARAM_SW_STRIDE, &bytesPerLine},
                                 {MPV_RENDER_PARAM_SW_POINTER, pixels},
                                 {MPV_RENDER_PARAM_INVALID, nullptr}};
    return mpv_render_context_render(m_render, params) >= 0;
}

void MpvPlayer::open(const char *path)
{
    m_loaded = false;
    m_stopping = false;
    // Opened paused: the program starts playback when it has seen the clip open.
    int yes = 1;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &yes);
    const char *cmd[] = {"loadfile", path, "replace", nullptr};
    mpv_command_async(m_mpv, 0, cmd);
}

bool MpvPlayer::play(double rate)
{
    if (!m_loaded)
        return false;
    double speed = rate > 0 && std::isfinite(rate) ? rate : 1.0;
    mpv_set_property_async(m_mpv, 0, "speed", MPV_FORMAT_DOUBLE, &speed);
    int no = 0;
    mpv_set_property_async(m_mpv, 0, "pause", MPV_FORMAT_FLAG, &no);
    return true;
}

void MpvPlayer::stop()
{
    m_stopping = true;
    m_loaded = false;
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
    if (!m_loaded || !std::isfinite(seconds))
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
    // Asynchronous, so a slow seek never holds up the user-interface thread.
    mpv_command_node_async(m_mpv, 0, &cmd);
}

bool MpvPlayer::position(double *duration, double *seconds, double *percent)
{
    if (!m_loaded)
        return false;
    double pos = 0, length = 0;
    if (mpv_get_property(m_mpv, "time-pos", MPV_FORMAT_DOUBLE, &pos) < 0)
        return false;
    if (mpv_get_property(m_mpv, "duration", MPV_FORMAT_DOUBLE, &length) < 0)
        length = 0;
    *duration = length;
    *seconds = pos < 0 ? 0 : pos;
    *percent = length > 0 ? std::fmin(100.0, *seconds * 100.0 / length) : 0;
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
        if (event.reply_userdata == PauseProperty && prop->format == MPV_FORMAT_FLAG && m_loaded)
            post(PLAYER_MSG_EVENT,
                 *static_cast<int *>(prop->data) ? PLAYER_EVENT_PAUSED : PLAYER_EVENT_PLAYING, 0);
        break;
    }
    default:
        break;
    }
}

void MpvPlayer::fileLoaded()
{
    PlayerOpenedInfo info{};
    int64_t w = 0, h = 0;
    if (mpv_get_property(m_mpv, "width", MPV_FORMAT_INT64, &w) >= 0)
        info.VideoWidth = int32_t(w);
    if (mpv_get_property(m_mpv, "height", MPV_FORMAT_INT64, &h) >= 0)
        info.VideoHeight = int32_t(h);
    int seekable = 0;
    mpv_get_property(m_mpv, "seekable", MPV_FORMAT_FLAG, &seekable);
    info.Seekable = seekable ? 1 : 0;
    mpv_get_property(m_mpv, "duration", MPV_FORMAT_DOUBLE, &info.Duration);
    *m_opened = info;
    m_loaded = true;
    post(PLAYER_MSG_EVENT, PLAYER_EVENT_OPENED, reinterpret_cast<intptr_t>(m_opened));
}

void MpvPlayer::fileEnded(int reason, int error)
{
    m_loaded = false;
    const bool asked = m_stopping.exchange(false);
    post(PLAYER_MSG_EVENT, PLAYER_EVENT_ENDED, reason);
    if (asked || reason == MPV_END_FILE_REASON_STOP || reason == MPV_END_FILE_REASON_QUIT)
        return;
    if (reason == MPV_END_FILE_REASON_ERROR) {
        const int code = error < 0 ? error : MPV_ERROR_GENERIC;
        // Also as a message: it follows the hook message in the receiver's
        // queue, so it is seen even before the callback is registered.
        post(PLAYER_MSG_EVENT, PLAYER_EVENT_PLAYING, code);
        report(PLAYER_CALLBACK_ERROR, code);
    } else if (reason == MPV_END_FILE_REASON_EOF) {
        report(PLAYER_CALLBACK_END_OF_FILE, 0);
    }
}

void MpvPlayer::post(unsigned msg, uintptr_t wParam, intptr_t lParam)
{
    if (m_window && m_window->post)
        m_window->post(m_window, msg, wParam, lParam);
}

void MpvPlayer::report(int code, int value)
{
    if (PlayerEventCallback cb = m_callback->load())
        cb(code, value, 0);
}
