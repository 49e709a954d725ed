#pragma once

#include <QImage>
#include <QList>
#include <optional>

// The looks a skinned button can have, in the order their slices stand in a
// state strip.
enum class ButtonState
{
    Normal,
    Hover,
    Pressed,
    Disabled
};

// Which optional slices a strip carries after its normal slice.
struct StateFlags
{
    bool hover = false;
    bool pressed = false;
    bool disabled = false;

    int sliceCount() const { return 1 + int(hover) + int(pressed) + int(disabled); }
};

// A button's four looks. A state the strip lacks holds no image of its own
// and shows the normal one, so nothing is copied or freed twice.
struct StateImages
{
    QImage normal;
    std::optional<QImage> hover;
    std::optional<QImage> pressed;
    std::optional<QImage> disabled;

    const QImage &image(ButtonState state) const;
};

// Cuts the slices of a strip, each w x h from the strip's top rows, left to
// right in state order with absent states taking no slice. Extra width is
// ignored. Nothing for a null strip, a slice size that is not positive, or a
// strip narrower than w x (number of slices).
std::optional<StateImages> CutStateStrip(const QImage &strip, int w, int h, StateFlags flags);

// Cuts an animation strip into frames of w x h, left to right. Nothing when
// the strip's width is not a whole multiple of w (or w is not positive).
std::optional<QList<QImage>> CutAnimationFrames(const QImage &strip, int w, int h);
