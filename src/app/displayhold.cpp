#include "app/displayhold.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QThread>
#include <QtGlobal>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#ifdef ZELO_HAVE_XCB
#include <xcb/xcb.h>
#endif

bool DisplayHold::acquire(int timeoutMs)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
#ifdef ZELO_HAVE_XCB
    if (m_connection)
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        xcb_connection_t *c = xcb_connect(nullptr, nullptr);
        if (!xcb_connection_has_error(c)) {
            m_connection = c;
            return true;
        }
        xcb_disconnect(c);
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
#else
    Q_UNUSED(timeoutMs);
    return true;
#endif
}

void DisplayHold::release()
{
#ifdef ZELO_HAVE_XCB
    if (m_connection)
        xcb_disconnect(static_cast<xcb_connection_t *>(m_connection));
#endif
    m_connection = nullptr;
}

QStringList CandidatePlatforms(const QString &given, const QByteArray &sessionType,
                               const QByteArray &desktop, bool waylandNamed)
{
    if (!given.isEmpty())
        return given.split(QLatin1Char(';'), Qt::SkipEmptyParts);
    const QString x = QStringLiteral("xcb"), wayland = QStringLiteral("wayland");
    if (!waylandNamed)
        return {x};
    if (sessionType == "wayland" && !desktop.toLower().contains("gnome"))
        return {wayland, x};
    return {x, wayland};
}

bool WaylandAnswers(const QByteArray &waylandDisplay, const QByteArray &runtimeDir)
{
    const QByteArray name = waylandDisplay.isEmpty() ? QByteArray("wayland-0") : waylandDisplay;
    QByteArray path = name;
    if (!name.startsWith('/')) {
        if (runtimeDir.isEmpty())
            return false;
        path = runtimeDir + '/' + name;
    }
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (size_t(path.size()) >= sizeof(address.sun_path))
        return false;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const bool answered =
        ::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return answered;
}

QString ReachablePlatform(const QStringList &candidates, DisplayHold &hold, int timeoutMs,
                          QString &why)
{
    QStringList refused;
    for (const QString &platform : candidates) {
        if (platform.startsWith(QLatin1String("xcb"))) {
            if (hold.acquire(timeoutMs))
                return platform;
            const QByteArray display = qgetenv("DISPLAY");
            refused << (display.isEmpty() ? QStringLiteral("DISPLAY is not set")
                                          : QStringLiteral("the X display \"%1\" does not answer")
                                                .arg(QString::fromLocal8Bit(display)));
        } else if (platform.startsWith(QLatin1String("wayland"))) {
            const QByteArray name = qgetenv("WAYLAND_DISPLAY");
            if (WaylandAnswers(name, qgetenv("XDG_RUNTIME_DIR")))
                return platform;
            refused << QStringLiteral("no Wayland compositor answers on \"%1\"")
                           .arg(QString::fromLocal8Bit(name.isEmpty() ? "wayland-0" : name));
        } else {
            return platform;
        }
    }
    why = refused.join(QStringLiteral(", "));
    if (candidates.size() == 1 && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        why = QStringLiteral("neither DISPLAY nor WAYLAND_DISPLAY is set");
    return {};
}
