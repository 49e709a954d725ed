#include "encoder/playerlib.h"

#include "platform/nativepath.h"

#include <QFileInfo>
#include <QLibrary>
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

// One flag per wrapper: set for the length of the library call.
class BusyGuard
{
public:
    explicit BusyGuard(bool &flag) : m_flag(flag), m_entered(!flag) { m_flag = true; }
    ~BusyGuard()
    {
        if (m_entered)
            m_flag = false;
    }
    bool entered() const { return m_entered; }

private:
    bool &m_flag;
    bool m_entered;
};

bool openBusy = false, playBusy = false, pauseBusy = false, setWindowBusy = false;
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

bool GetPosition(double *first, double *seconds, double *percent)
{
    return Bound.getPosition && Bound.getPosition(first, seconds, percent) != 0;
}

void SetCallback(PlayerEventCallback callback)
{
    if (Bound.setCallback)
        Bound.setCallback(callback);
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

bool Open(const QString &path)
{
    BusyGuard guard(openBusy);
    if (!guard.entered() || !Bound.open)
        return false;
    return Bound.open(NativePath(path).constData(), 0) != 0;
}

bool Play(double rate)
{
    BusyGuard guard(playBusy);
    return guard.entered() && Bound.play && Bound.play(rate) != 0;
}

bool Pause()
{
    BusyGuard guard(pauseBusy);
    if (!guard.entered() || !Bound.pause)
        return false;
    Bound.pause();
    return true;
}

bool SetWindow(uintptr_t nativeWindow, bool keepRatio)
{
    BusyGuard guard(setWindowBusy);
    if (!guard.entered() || !Bound.setWindow)
        return false;
    Bound.setWindow(nativeWindow, 0, keepRatio ? 1 : 0);
    return true;
}

} // namespace Player
