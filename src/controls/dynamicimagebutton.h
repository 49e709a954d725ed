#pragma once

#include "controls/imagebutton.h"

#include <QList>

class QTimer;

// One tick of a button animation: what to show and how the timer goes on.
struct AnimationTick
{
    int frame = -1;    // the frame to show, or -1 for the hover look
    int nextIndex = 0; // the frame index after this tick
    bool keepRunning = true;
    int nextInterval = 0; // the timer's interval from now on, when it keeps running
};

// Frames play one per interval; one interval after the last the hover look
// comes back and the timer stops, or, when the animation repeats, waits for
// the pause and starts over.
AnimationTick StepAnimation(int frameIndex, int frameCount, int frameInterval, int pause,
                            bool repeat);

// An image button that plays a short frame animation while the mouse rests
// on it, in place of its hover look.
class TDynamicImageButton : public TImageButton
{
    Q_OBJECT

public:
    explicit TDynamicImageButton(QWidget *parent = nullptr);

    // A null strip stops the animation and brings the hover look back (and
    // returns false); otherwise the strip is cut into frames of the button's
    // size, false with nothing changed when its width is not a whole multiple
    // of the button's.
    bool LoadAnimation(const QImage &strip, int frameInterval, int pause);

    int frameCount() const { return int(m_frames.size()); }
    const QImage &frame(int i) const { return m_frames.at(i); }
    int frameInterval() const { return m_frameInterval; }
    int pause() const { return m_pause; }
    bool repeats() const { return m_repeat; }
    // The animation's timer, so that tests can drive it tick by tick.
    QTimer *animationTimer() const { return m_timer; }

protected:
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void reconsider();
    void tick();

    QList<QImage> m_frames;
    int m_frameIndex = 0;
    QTimer *m_timer;
    int m_frameInterval = 100;
    int m_pause = 3000;
    bool m_repeat = false;
};
