#include "controls/focusring.h"

#include <QFocusEvent>
#include <QPainter>

namespace {
QColor g_ringColour(0, 120, 215);

bool FromKeyboard(Qt::FocusReason reason)
{
    return reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason ||
           reason == Qt::ShortcutFocusReason;
}
} // namespace

FocusRing::FocusRing(QWidget *control) : QWidget(control)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    control->installEventFilter(this);
}

void FocusRing::setColour(const QColor &colour)
{
    if (colour.isValid())
        g_ringColour = colour;
}

QColor FocusRing::colour()
{
    return g_ringColour;
}

void FocusRing::showRing(bool on)
{
    if (on) {
        setGeometry(parentWidget()->rect());
        raise();
    }
    setVisible(on);
}

bool FocusRing::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != parentWidget())
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        showRing(FromKeyboard(static_cast<QFocusEvent *>(event)->reason()));
        break;
    case QEvent::FocusOut:
        showRing(false);
        break;
    case QEvent::KeyPress:
        if (parentWidget()->hasFocus() && !isVisible())
            showRing(true);
        break;
    case QEvent::Resize:
        if (isVisible())
            setGeometry(parentWidget()->rect());
        break;
    case QEvent::ChildAdded:
        // Parts a control adds later (an entry, a scroll button) stay under it.
        if (isVisible())
            raise();
        break;
    default:
        break;
    }
    return false;
}

void FocusRing::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    QPen pen(g_ringColour, 2);
    pen.setJoinStyle(Qt::MiterJoin);
    p.setPen(pen);
    p.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}
