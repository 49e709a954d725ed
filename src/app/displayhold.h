#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The X display, reached before the toolkit reaches for it. Qt ends the
// process with an abort when its first connection fails, and an X server
// refuses connections for a moment each time its last client leaves (it
// resets), which a desktop starting up or a test display shows often. So
// the program connects first, retrying for a while, and keeps its own
// connection open until Qt holds one: with a client connected the server
// cannot reset under Qt's feet. Where the program is not built with XCB,
// a set DISPLAY is taken on trust.
class DisplayHold
{
public:
    DisplayHold() = default;
    DisplayHold(const DisplayHold &) = delete;
    DisplayHold &operator=(const DisplayHold &) = delete;
    ~DisplayHold() { release(); }

    // True once connected to DISPLAY; false when it is unset or refused
    // every attempt for timeoutMs.
    bool acquire(int timeoutMs);
    void release();

private:
    void *m_connection = nullptr;
};

// The platform plugins Qt may start on, in the order they are tried: the
// list given (QT_QPA_PLATFORM or -platform, ';'-separated), else the
// session's own first (Wayland in a Wayland session that is not GNOME's,
// where Qt keeps to X), then the other; Wayland only when WAYLAND_DISPLAY
// names one, so that a login over ssh never opens on the desktop's.
QStringList CandidatePlatforms(const QString &given, const QByteArray &sessionType,
                               const QByteArray &desktop, bool waylandNamed);

// Whether a Wayland compositor answers on the socket WAYLAND_DISPLAY names
// (wayland-0 when unset), relative to XDG_RUNTIME_DIR unless absolute.
bool WaylandAnswers(const QByteArray &waylandDisplay, const QByteArray &runtimeDir);

// The plugin to start Qt on, the first candidate whose display answers
// (plugins that need none, such as offscreen, always do); for an X one the
// hold is kept connected. Empty, with why set to one line, when none does.
QString ReachablePlatform(const QStringList &candidates, DisplayHold &hold, int timeoutMs,
                          QString &why);
