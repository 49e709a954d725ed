#include "controls/statestrip.h"

#include <cstring>

const QImage &StateImages::image(ButtonState state) const
{
    switch (state) {
    case ButtonState::Hover:
        return hover ? *hover : normal;
    case ButtonState::Pressed:
        return pressed ? *pressed : normal;
    case ButtonState::Disabled:
        return disabled ? *disabled : normal;
    case ButtonState::Normal:
        break;
    }
    return normal;
}

namespace {
// A slice always has the button's size, also where the strip is shorter than
// the button: the rows the strip lacks stay black, as a bitmap copy leaves them.
// x, w and h count the strip's logical pixels: a strip drawn at twice the
// density gives slices of twice the pixels that paint at the same size.
QImage slice(const QImage &strip, int x, int w, int h)
{
    const int d = int(strip.devicePixelRatio());
    QImage out(w * d, h * d, QImage::Format_RGB32);
    out.fill(Qt::black);
    const QImage part = strip.copy(x * d, 0, w * d, qMin(h * d, strip.height()));
    for (int row = 0; row < part.height(); ++row)
        memcpy(out.scanLine(row), part.constScanLine(row), size_t(w * d) * 4);
    out.setDevicePixelRatio(d);
    return out;
}

int logicalWidth(const QImage &strip)
{
    return strip.width() / int(strip.devicePixelRatio());
}
} // namespace

std::optional<StateImages> CutStateStrip(const QImage &strip, int w, int h, StateFlags flags)
{
    if (strip.isNull() || w <= 0 || h <= 0)
        return std::nullopt;
    if (qint64(logicalWidth(strip)) < qint64(w) * flags.sliceCount())
        return std::nullopt;
    const QImage rgb = strip.convertToFormat(QImage::Format_RGB32);
    StateImages images;
    images.normal = slice(rgb, 0, w, h);
    int x = 0;
    auto next = [&](bool present) -> std::optional<QImage> {
        if (!present)
            return std::nullopt;
        x += w;
        return slice(rgb, x, w, h);
    };
    images.hover = next(flags.hover);
    images.pressed = next(flags.pressed);
    images.disabled = next(flags.disabled);
    return images;
}

std::optional<QList<QImage>> CutAnimationFrames(const QImage &strip, int w, int h)
{
    if (strip.isNull() || w <= 0 || h <= 0 || logicalWidth(strip) % w != 0)
        return std::nullopt;
    const QImage rgb = strip.convertToFormat(QImage::Format_RGB32);
    QList<QImage> frames;
    for (int x = 0; x < logicalWidth(rgb); x += w)
        frames.append(slice(rgb, x, w, h));
    return frames;
}
