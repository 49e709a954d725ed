// The C entry points. Nothing may escape them: no exception crosses into the
// host, and a bad argument is an error result, never a crash.
#include "engine/encoder.h"
#include "engine/engine.h"
#include "engine/probe.h"
#include "engine/thumbnail.h"
#include "engine/workingfile.h"

extern "C" {
#include <libavutil/log.h>
}

#include <cstdlib>
#include <mutex>
#include <string>
#include <vector>

namespace {

// The texts the last probe pointed the host at.
struct ProbeTexts
{
    std::mutex lock;
    std::string path, video, audio;
};

ProbeTexts &probeTexts()
{
    static ProbeTexts texts;
    return texts;
}

} // namespace

extern "C" {

ENCODER_EXPORT void MyDll_Init(void)
{
    // A desktop program has no console to read FFmpeg's chatter; a developer
    // can still ask for it (ZELO_FFMPEG_LOG=32 for info, 48 for debug).
    const char *level = std::getenv("ZELO_FFMPEG_LOG");
    av_log_set_level(level && *level ? std::atoi(level) : AV_LOG_QUIET);
}

ENCODER_EXPORT int Mydll_GetFileinfo(const char *path, ClipInfo *info)
{
    if (!path || !info)
        return 1;
    try {
        zelo::ClipFacts facts;
        std::string error;
        if (!zelo::probeClip(path, facts, error))
            return 1;
        ProbeTexts &texts = probeTexts();
        std::lock_guard lock(texts.lock);
        texts.path = path;
        texts.video = facts.videoFormat;
        texts.audio = facts.audioFormat;
        ClipInfo filled{};
        filled.ClipPath = texts.path.c_str();
        filled.Duration = facts.durationSeconds;
        filled.VideoFormat = texts.video.c_str();
        filled.AudioFormat = texts.audio.c_str();
        filled.VideoWidth = facts.width;
        filled.VideoHeight = facts.height;
        *info = filled;
        return 0;
    } catch (...) {
        return 1;
    }
}

ENCODER_EXPORT int Mydll_GetPicure(const char *path, int second, const char *size,
                                   const char *target)
{
    if (!path || !size || !target)
        return 1;
    try {
        std::string error;
        return zelo::writeThumbnail(path, second, size, target, error) ? 0 : 1;
    } catch (...) {
        return 1;
    }
}

ENCODER_EXPORT void SetGetInfoCallBackFun(StatusLineCallback cb)
{
    zelo::Engine::instance().setStatusCallback(cb);
}

ENCODER_EXPORT void SetGetPercentCallBackFun(PercentCallback) {}

ENCODER_EXPORT int _X(MessageTarget *window, int argc, char **argv)
{
    try {
        std::vector<std::string> args;
        for (int i = 0; argv && i < argc; ++i)
            args.emplace_back(argv[i] ? argv[i] : "");
        return zelo::Engine::instance().start(window, std::move(args));
    } catch (...) {
        return -1;
    }
}

ENCODER_EXPORT void Mydll_Stop(void)
{
    zelo::Engine::instance().stop();
}

ENCODER_EXPORT void Mydll_TidyFolder(const char *folder)
{
    if (!folder || !*folder)
        return;
    try {
        zelo::WorkingFile::tidyStale(folder);
    } catch (...) {
    }
}

ENCODER_EXPORT void MyDll_UnInit(void)
{
    zelo::Engine::instance().shutdown();
}

} // extern "C"
