#include "controls/dynamicimagebutton.h"

#include <QMouseEvent>
#include <QTimer>

AnimationTick StepAnimation(int frameIndex, int frameCount, int frameInterval, int pause,
                            bool repeat)
{
    if (frameIndex < frameCount)
        return {frameIndex, frameIndex + 1, true, frameInterval};
    if (repeat)
        return {-1, 0, true, pause};
    return {-1, frameIndex, false, frameInterval};
}

TDynamicImageButton::TDynamicImageButton(QWidget *parent)
    : TImageButton(parent), m_timer(new QTimer(this))
{
    takeKeyboardFocus();
    m_timer->setInterval(m_frameInterval);
    connect(m_timer, &QTimer::timeout, this, &TDynamicImageButton::tick);
}

bool TDynamicImageButton::LoadAnimation(const QImage &strip, int frameInterval, int pause)
{
    if (strip.isNull()) {
        m_timer->stop();
        setHoverLook(true);
        return false;
    }
    std::optional<QList<QImage>> frames = CutAnimationFrames(strip, width(), height());
    if (!frames)
        return false;
    m_timer->stop();
    m_frameInterval = frameInterval;
    m_pause = pause;
    m_repeat = pause > 0;
    m_frames = std::move(*frames);
    setHoverLook(false);
    return true;
}

void TDynamicImageButton::enterEvent(QEnterEvent *event)
{
    TImageButton::enterEvent(event);
    reconsider();
}

void TDynamicImageButton::leaveEvent(QEvent *event)
{
    TImageButton::leaveEvent(event);
    reconsider();
}

void TDynamicImageButton::mousePressEvent(QMouseEvent *event)
{
    TImageButton::mousePressEvent(event);
    // Only the left button holds the button down; other presses must not
    // start a finished animation over.
    if (event->button() == Qt::LeftButton)
        reconsider();
}

// The animation runs exactly while the mouse rests on the enabled button and
// is not holding it down; otherwise the button shows its still look.
void TDynamicImageButton::reconsider()
{
    const bool wanted = isMouseOver() && !isPressedDown() && isEnabled();
    if (!wanted) {
        m_timer->stop();
        if (!isEnabled())
            showState(ButtonState::Disabled);
        else if (!isMouseOver())
            showState(ButtonState::Normal);
        else
            showState(isPressedDown() ? ButtonState::Pressed : ButtonState::Hover);
        return;
    }
    if (!m_timer->isActive()) {
        m_frameIndex = 0;
        m_timer->start(m_frameInterval);
    }
}

void TDynamicImageButton::tick()
{
    const AnimationTick step =
        StepAnimation(m_frameIndex, int(m_frames.size()), m_frameInterval, m_pause, m_repeat);
    m_frameIndex = step.nextIndex;
    if (step.frame >= 0)
        showImage(m_frames.at(step.frame));
    else
        showState(ButtonState::Hover);
    if (step.keepRunning)
        m_timer->start(step.nextInterval);
    else
        m_timer->stop();
    // Paint before the tick returns, so a busy loop cannot swallow frames.
    repaint();
}
