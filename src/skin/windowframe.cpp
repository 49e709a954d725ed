#include "skin/windowframe.h"

#include "controls/image.h"
#include "platform/windowsystem.h"
#include "skin/components.h"

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScreen>
#include <QWidget>
#include <QWindow>

std::optional<QPoint> DragTarget(const DragState &drag, QPoint cursor, QPoint windowPos)
{
    // Always from the press, never from the last move: the window moves
    // under the cursor, so adding up small steps would drift.
    const QPoint target = drag.startPos + (cursor - drag.pressPoint);
    if (target == windowPos)
        return std::nullopt;
    return target;
}

TWindowFrame::TWindowFrame(QWidget *window)
    : QObject(window), m_window(window), m_cursor([] { return QCursor::pos(); })
{
    window->setWindowFlag(Qt::FramelessWindowHint);
    window->installEventFilter(this);
    if (!WindowMovesItself(QGuiApplication::platformName()))
        m_compositorMove = [window] {
            QWindow *handle = window->windowHandle();
            return handle && handle->startSystemMove();
        };
}

void TWindowFrame::BeginDrag(Qt::MouseButton button)
{
    if (button != Qt::LeftButton) {
        m_drag.dragging = false;
        return;
    }
    // The compositor follows the cursor from here; no move of ours.
    if (m_compositorMove && m_compositorMove()) {
        m_drag.dragging = false;
        return;
    }
    m_drag.pressPoint = m_cursor();
    m_drag.current = m_drag.pressPoint;
    m_drag.startPos = m_window->pos();
    m_drag.dragging = true;
}

void TWindowFrame::DragMove(Qt::MouseButtons held)
{
    if (!(held & Qt::LeftButton) || !m_drag.dragging)
        return;
    m_drag.current = m_cursor();
    if (std::optional<QPoint> target = DragTarget(m_drag, m_drag.current, m_window->pos())) {
        m_window->move(*target);
        m_window->raise();
    }
}

void TWindowFrame::EndDrag(Qt::MouseButton button)
{
    if (button == Qt::LeftButton)
        m_drag.dragging = false;
}

bool TWindowFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        BeginDrag(static_cast<QMouseEvent *>(event)->button());
        break;
    case QEvent::MouseMove:
        DragMove(static_cast<QMouseEvent *>(event)->buttons());
        break;
    case QEvent::MouseButtonRelease:
        EndDrag(static_cast<QMouseEvent *>(event)->button());
        break;
    case QEvent::Show:
        if (!m_placed) {
            m_placed = true;
            if (QScreen *screen = m_window->screen())
                m_window->move(screen->availableGeometry().center() - m_window->rect().center());
        }
        break;
    default:
        break;
    }
    return false;
}

TImage *CreateSkinBackground(QWidget *window)
{
    auto *background = CreateComponent<TImage>(window, window, QStringLiteral("Img_Background"));
    background->move(0, 0);
    background->setEnabled(false);
    background->lower();
    return background;
}
