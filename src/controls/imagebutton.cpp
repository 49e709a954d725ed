#include "controls/imagebutton.h"

#include "controls/colourregion.h"
#include "controls/focusring.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

TImageButton::TImageButton(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::NoFocus);
    // The button paints every pixel of itself; no background fill first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
}

bool TImageButton::LoadStates(const QImage &strip, int w, int h, bool outline, bool hasHover,
                              bool hasPressed, bool hasDisabled)
{
    std::optional<StateImages> cut =
        CutStateStrip(strip, w, h, {hasHover, hasPressed, hasDisabled});
    if (!cut)
        return false;
    m_images = std::move(*cut);
    resize(w, h);
    showImage(m_images.normal);
    QWidget::show();
    m_outline = outline;
    if (outline)
        return BuildRegion();
    clearMask();
    return true;
}

void TImageButton::takeKeyboardFocus()
{
    setFocusPolicy(Qt::TabFocus);
    new FocusRing(this);
}

void TImageButton::click()
{
    if (isEnabled() && isVisible())
        emit clicked();
}

void TImageButton::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if ((key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) &&
        event->modifiers() == Qt::NoModifier) {
        if (!event->isAutoRepeat())
            click();
        return;
    }
    QWidget::keyPressEvent(event);
}

bool TImageButton::BuildRegion()
{
    if (!m_outline)
        return true;
    setMask(OutlineRegion(m_images.normal));
    update();
    return true;
}

void TImageButton::SetButtonEnabled(bool enabled)
{
    setEnabled(enabled);
    showState(enabled ? ButtonState::Normal : ButtonState::Disabled);
}

void TImageButton::showState(ButtonState state)
{
    showImage(m_images.image(state));
}

void TImageButton::showImage(const QImage &image)
{
    m_shown = image;
    update();
}

void TImageButton::paintEvent(QPaintEvent *)
{
    if (m_shown.isNull())
        return;
    QPainter p(this);
    if (m_shown.devicePixelRatio() != 1)
        p.setRenderHint(QPainter::SmoothPixmapTransform); // 2x pictures between 1x and 2x
    p.drawImage(0, 0, m_shown);
}

void TImageButton::enterEvent(QEnterEvent *)
{
    m_mouseOver = true;
    if (m_hoverLook)
        showState(ButtonState::Hover);
}

void TImageButton::leaveEvent(QEvent *)
{
    m_mouseOver = false;
    showState(isEnabled() ? ButtonState::Normal : ButtonState::Disabled);
}

void TImageButton::mousePressEvent(QMouseEvent *event)
{
    // Every press on an enabled button is its own: none reaches the window
    // behind it and starts a drag.
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    m_pressed = true;
    showState(ButtonState::Pressed);
}

void TImageButton::mouseReleaseEvent(QMouseEvent *event)
{
    event->accept();
    if (event->button() != Qt::LeftButton)
        return;
    const bool wasPressed = m_pressed;
    const QPoint at = event->position().toPoint();
    const bool inside = at.x() >= 0 && at.y() >= 0 && at.x() < width() && at.y() < height();
    m_pressed = false;
    m_mouseOver = inside;
    showState(inside ? ButtonState::Hover : ButtonState::Normal);
    if (wasPressed && inside)
        emit clicked();
}

// Moves while the button is held belong to it, not to a drag of the window.
void TImageButton::mouseMoveEvent(QMouseEvent *event)
{
    event->accept();
}
