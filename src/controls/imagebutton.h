#pragma once

#include "controls/statestrip.h"

#include <QImage>
#include <QWidget>

// A button drawn entirely from a state strip: normal, hover, pressed and
// disabled looks, optionally cut to the outline of its normal look. It stays
// invisible until it has its images. A plain one is worked with the mouse
// only (the parts of the list and the slider); the command buttons are also
// tab stops, pressed with Space or Enter.
class TImageButton : public QWidget
{
    Q_OBJECT

public:
    explicit TImageButton(QWidget *parent = nullptr);

    // Cuts the looks from strip (the caller keeps the strip). False, with
    // the button unchanged, for a null strip or one too narrow for the
    // slices asked for.
    bool LoadStates(const QImage &strip, int w, int h, bool outline, bool hasHover, bool hasPressed,
                    bool hasDisabled);
    // Cuts the outline from the normal look when the outline flag is on.
    bool BuildRegion();
    virtual void SetButtonEnabled(bool enabled);
    // What the mouse, a key or assistive technology does to press it.
    void click();

    // What the button shows now (for its painter and for tests).
    const QImage &currentImage() const { return m_shown; }
    const QImage &stateImage(ButtonState state) const { return m_images.image(state); }
    bool hasImages() const { return !m_images.normal.isNull(); }
    bool isMouseOver() const { return m_mouseOver; }
    bool isPressedDown() const { return m_pressed; }

signals:
    // Left button pressed on the button and released inside it.
    void clicked();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

    // Makes the button a tab stop with a focus ring.
    void takeKeyboardFocus();

    void showState(ButtonState state);
    void showImage(const QImage &image);
    // The check button swaps whole sets of looks.
    const StateImages &images() const { return m_images; }
    void setImages(const StateImages &images) { m_images = images; }
    // Off while an animation stands in for the hover look.
    void setHoverLook(bool on) { m_hoverLook = on; }

private:
    StateImages m_images;
    QImage m_shown;
    bool m_mouseOver = false;
    bool m_pressed = false;
    bool m_outline = false;
    bool m_hoverLook = true;
};
