#include "encoder/playerlib.h"

#include "platform/messagetarget.h"
#include "platform/nativepath.h"

#include <QFileInfo>
#include <QLibrary>
#include <atomic>
#include <memory>

namespace Player {

Entries Bound;

namespace {
std::unique_ptr<QLibrary> Library;

template <typename Fn> bool bind(Fn &slot, const char *name)
{
    slot = reinterpret_cast<Fn>(Library->resolve(name));
    return slot != nullptr;
}

// Where the library's callback, which carries no context of its own, is
// posted; written on the user-interface thread, read on the library's.
std::atomic<MessageTarget *> CallbackTarget{nullptr};

void PostCallback(int code, int, int generation)
{
    if (MessageTarget *target = CallbackTarget.load())
        target->post(target, CallbackMessage, uintptr_t(code), intptr_t(unsigned(generation)));
}
} // namespace

QString LibraryName()
{
#ifdef Q_OS_WIN
    return QStringLiteral("playfiledll.dll");
#else
    return QStringLiteral("libplayfile.so");
#endif
}

bool Load(const QString &folder)
{
    Unload();
    QString file = QFileInfo(folder + QLatin1Char('/') + LibraryName()).absoluteFilePath();
    if (!QFileInfo(file).isFile())
        return false;
    Library = std::make_unique<QLibrary>(file);
    // Stays mapped once loaded: mpv leaves threads of its libraries behind
    // (sound servers, fonts) that would run into unmapped code.
    Library->setLoadHints(QLibrary::PreventUnloadHint);
    if (!Library->load()) {
        Library.reset();
        return false;
    }
    Entries e;
    bool all = true;
    Bound = {};
    all &= bind(e.init, "PlayerInit");
    all &= bind(e.close, "PlayerClose");
    all &= bind(e.open, "PlayerOpen");
    all &= bind(e.play, "PlayerPlay");
    all &= bind(e.stop, "PlayerStop");
    all &= bind(e.pause, "PlayerPause");
    all &= bind(e.setWindow, "PlayerSetWindow");
    all &= bind(e.seek, "PlayerSeek");
    all &= bind(e.getPosition, "PlayerGetPosition");
    all &= bind(e.setCallback, "PlayerSetCallback");
    if (!all) {
        Library->unload();
        Library.reset();
        return false;
    }
    bind(e.scrub, "PlayerScrub");
    bind(e.renderFrame, "PlayerRenderFrame");
    Bound = e;
    return true;
}

void Unload()
{
    Stop();
    Close();
    CallbackTarget = nullptr;
    Bound = {};
    if (Library) {
        Library->unload();
        Library.reset();
    }
}

bool Loaded()
{
    return Bound.init != nullptr;
}

bool Init(MessageTarget *window)
{
    return Bound.init && Bound.init(window) != 0;
}

void Close()
{
    if (Bound.close)
        Bound.close();
}

void Stop()
{
    if (Bound.stop)
        Bound.stop();
}

void Seek(double seconds)
{
    if (Bound.seek)
        Bound.seek(seconds);
}

bool GetPosition(double *duration, double *seconds, double *percent)
{
    return Bound.getPosition && Bound.getPosition(duration, seconds, percent) != 0;
}

void PostCallbacksTo(MessageTarget *target)
{
    CallbackTarget = target;
    if (Bound.setCallback)
        Bound.setCallback(target ? &PostCallback : nullptr);
}

void Scrub(double seconds)
{
    if (Bound.scrub)
        Bound.scrub(seconds);
    else
        Seek(seconds);
}

bool RenderFrame(int width, int height, int stride, void *pixels)
{
    return Bound.renderFrame && Bound.renderFrame(width, height, stride, pixels) != 0;
}

unsigned Open(const QString &path)
{
    return Bound.open ? unsigned(Bound.open(NativePath(path).constData(), 0)) : 0;
}

bool Play(double rate)
{
    return Bound.play && Bound.play(rate) != 0;
}

void Pause()
{
    if (Bound.pause)
        Bound.pause();
}

void SetKeepRatio(bool keepRatio)
{
    // The surface is the panel's memory (RenderFrame), never named here.
    if (Bound.setWindow)
        Bound.setWindow(0, 0, keepRatio ? 1 : 0);
}

} // namespace Player
