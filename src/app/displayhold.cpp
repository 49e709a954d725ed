#include "app/displayhold.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QThread>
#include <QtGlobal>

#ifdef ZELO_HAVE_XCB
#include <xcb/xcb.h>
#endif

bool ToolkitUsesX11()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    if (!platform.isEmpty())
        return platform.startsWith("xcb");
    if (qEnvironmentVariableIsEmpty("DISPLAY"))
        return false;
    return qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
           qgetenv("XDG_SESSION_TYPE") != "wayland";
}

bool DisplayHold::acquire(int timeoutMs)
{
#ifdef ZELO_HAVE_XCB
    if (m_connection || !ToolkitUsesX11())
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
