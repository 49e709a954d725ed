#include "tools/skingen/buttonart.h"

#include "tools/skingen/canvas.h"
#include "tools/skingen/theme.h"

#include <QFontMetrics>
#include <QLinearGradient>

namespace {
struct Paint
{
    QBrush fill = Qt::NoBrush;
    QColor border = Qt::transparent;
    QColor ink;
    int sink = 0; // pressed content sits a pixel lower
};

QLinearGradient across(const QRect &r, const QColor &a, const QColor &b)
{
    QLinearGradient g(r.topLeft(), r.topRight());
    g.setColorAt(0, a);
    g.setColorAt(1, b);
    return g;
}

Paint paintFor(Look look, State state, const QRect &r)
{
    const bool dis = state == State::Disabled;
    switch (look) {
    case Look::Ghost:
    case Look::GhostDanger: {
        const bool danger = look == Look::GhostDanger;
        switch (state) {
        case State::Normal:
            return {Qt::NoBrush, Qt::transparent, Theme::TextMid};
        case State::Hover:
            return {danger ? Theme::Danger : Theme::Raised, Qt::transparent,
                    danger ? Qt::white : Theme::TextHi};
        case State::Pressed:
            return {danger ? QColor(0xB8, 0x33, 0x38) : Theme::Sunken, Qt::transparent,
                    danger ? Qt::white : Theme::AccentHi, 1};
        case State::Disabled:
            return {Qt::NoBrush, Qt::transparent, QColor(0x4A, 0x53, 0x63)};
        }
        break;
    }
    case Look::Primary:
        if (dis)
            return {Theme::Raised, Qt::transparent, Theme::TextLow};
        if (state == State::Hover)
            return {across(r, Theme::AccentHi, QColor(0x96, 0x7D, 0xFF)), Qt::transparent,
                    Qt::white};
        if (state == State::Pressed)
            return {across(r, Theme::AccentLo, QColor(0x62, 0x45, 0xE0)), Qt::transparent,
                    Qt::white, 1};
        return {across(r, Theme::Accent, Theme::Violet), Qt::transparent, Qt::white};
    case Look::Secondary:
        if (dis)
            return {Theme::Card, Theme::Line, Theme::TextLow};
        if (state == State::Hover)
            return {Theme::RaisedHi, QColor(0x4A, 0x62, 0x8A), Theme::TextHi};
        if (state == State::Pressed)
            return {Theme::Sunken, Theme::Line, Theme::AccentHi, 1};
        return {Theme::Raised, QColor(0x36, 0x40, 0x53), Theme::TextHi};
    case Look::Light:
        if (dis)
            return {Theme::Surface, Theme::SurfaceLine, QColor(0xA5, 0xAE, 0xBD)};
        if (state == State::Hover)
            return {QColor(0xEC, 0xF3, 0xFF), Theme::Accent, Theme::AccentLo};
        if (state == State::Pressed)
            return {QColor(0xDA, 0xE5, 0xF7), Theme::AccentLo, Theme::AccentLo, 1};
        return {Theme::SurfaceCard, QColor(0xC9, 0xD1, 0xDD), Theme::Ink};
    case Look::Danger:
        if (dis)
            return {Theme::SurfaceLine, Qt::transparent, Theme::InkMuted};
        if (state == State::Hover)
            return {QColor(0xF0, 0x64, 0x6A), Qt::transparent, Qt::white};
        if (state == State::Pressed)
            return {QColor(0xC4, 0x37, 0x3C), Qt::transparent, Qt::white, 1};
        return {Theme::Danger, Qt::transparent, Qt::white};
    case Look::Selected:
        if (dis)
            return {Theme::Raised, Qt::transparent, Theme::TextLow};
        if (state == State::Hover)
            return {Theme::AccentHi, Qt::transparent, Qt::white};
        if (state == State::Pressed)
            return {Theme::AccentLo, Qt::transparent, Qt::white, 1};
        return {Theme::Accent, Qt::transparent, Qt::white};
    }
    return {};
}

// Icon and label side by side, centred as one group.
void drawContent(QPainter &p, const ButtonArt &art, const QRect &r, const QColor &ink)
{
    const qreal iconSize = qMin<qreal>(20, r.height() * 0.68);
    qreal textWidth = 0;
    if (!art.label.isEmpty())
        textWidth = QFontMetrics(Theme::Face(art.textPixels, true)).horizontalAdvance(art.label);
    const qreal gap = (art.icon != Icon::None && textWidth > 0) ? 7 : 0;
    const qreal iconWidth = art.icon == Icon::None ? 0 : iconSize;
    qreal x = r.left() + (r.width() - iconWidth - gap - textWidth) / 2;
    DrawIcon(p, art.icon, QRectF(x, r.top() + (r.height() - iconSize) / 2, iconSize, iconSize),
             ink);
    x += iconWidth + gap;
    if (textWidth > 0)
        Text(p, QRectF(x, r.top(), textWidth + 4, r.height()), art.label, art.textPixels, true,
             ink);
}

QPainterPath shapeOf(const ButtonArt &art)
{
    return Rounded(QRectF(0, 0, art.rect.width(), art.rect.height()), art.radius);
}

QImage sheenFrame(const ButtonArt &art, const QImage &hover, qreal t)
{
    QImage img = hover.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    Smooth(p);
    p.setClipPath(shapeOf(art));
    const qreal w = art.rect.width(), h = art.rect.height();
    const qreal centre = -0.3 * w + t * 1.6 * w;
    QLinearGradient g(QPointF(centre - h, 0), QPointF(centre + h * 0.2, h));
    g.setColorAt(0, QColor(255, 255, 255, 0));
    g.setColorAt(0.5, QColor(255, 255, 255, 90));
    g.setColorAt(1, QColor(255, 255, 255, 0));
    p.fillRect(QRectF(0, 0, w, h), g);
    p.end();
    CutOutside(img, shapeOf(art));
    return img;
}

QString save(const QImage &image, const QString &folder, const QString &name)
{
    if (!SaveBitmap(image, folder + name))
        qFatal("cannot write %s", qPrintable(folder + name));
    return name;
}

QList<QImage> fourStates(const ButtonArt &art, const QImage &backdrop)
{
    return {RenderButton(art, backdrop, State::Normal), RenderButton(art, backdrop, State::Hover),
            RenderButton(art, backdrop, State::Pressed),
            RenderButton(art, backdrop, State::Disabled)};
}

Record placed(const ButtonArt &art)
{
    Record r;
    r.set(4, art.rect.x()).set(5, art.rect.y()).set(6, art.rect.width());
    r.set(7, art.rect.height()).set(8, 1).set(9, 1).set(10, 1);
    return r;
}
} // namespace

QImage RenderButton(const ButtonArt &art, const QImage &backdrop, State state)
{
    const QRect r(0, 0, art.rect.width(), art.rect.height());
    QImage img = backdrop.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    Smooth(p);
    const Paint paint = paintFor(art.look, state, r);
    const QPainterPath shape = Rounded(QRectF(r).adjusted(0.5, 0.5, -0.5, -0.5), art.radius);
    if (paint.fill.style() != Qt::NoBrush)
        p.fillPath(shape, paint.fill);
    if (art.look == Look::Primary && state != State::Disabled) {
        // A soft light on the upper half lifts the tile off the chrome.
        QLinearGradient top(0, 0, 0, r.height());
        top.setColorAt(0, QColor(255, 255, 255, 46));
        top.setColorAt(0.5, QColor(255, 255, 255, 0));
        p.fillPath(shape, top);
    }
    if (paint.border.alpha() > 0) {
        p.setPen(QPen(paint.border, 1));
        p.drawPath(shape);
    }
    drawContent(p, art, r.translated(0, paint.sink), paint.ink);
    p.end();
    CutOutside(img, shapeOf(art));
    return img;
}

QImage Strip(const QList<QImage> &slices)
{
    int w = 0, h = 0;
    for (const QImage &s : slices) {
        w += Size1x(s).width();
        h = qMax(h, Size1x(s).height());
    }
    QImage strip = NewCanvas(w, h, Qt::black);
    QPainter p(&strip);
    int x = 0;
    for (const QImage &s : slices) {
        p.drawImage(x, 0, s);
        x += Size1x(s).width();
    }
    return strip;
}

Record WriteAnimatedButton(const ButtonArt &art, const QImage &background, const QString &folder)
{
    const QImage backdrop = CopyPart(background, art.rect);
    const QList<QImage> states = fourStates(art, backdrop);
    QList<QImage> frames;
    int interval = 30, pause = 0;
    if (art.motion == Motion::Fade) {
        for (qreal t : {0.3, 0.55, 0.8})
            frames.append(Blend(states[1], states[0], t));
    } else {
        for (int i = 0; i < 9; ++i)
            frames.append(sheenFrame(art, states[1], i / 8.0));
        interval = 45;
        pause = 2600;
    }
    Record r = placed(art);
    r.set(1, save(Strip(states), folder, art.file + ".bmp"));
    r.set(2, save(Strip(frames), folder, art.file + "_anim.bmp"));
    r.set(12, art.tip).set(13, interval).set(14, pause).set(15, 1);
    return r;
}

Record WriteToggleButton(const ButtonArt &off, const ButtonArt &on, const QImage &background,
                         const QString &folder)
{
    const QImage backdrop = CopyPart(background, off.rect);
    Record r = placed(off);
    r.set(1, save(Strip(fourStates(off, backdrop)), folder, off.file + ".bmp"));
    r.set(2, save(Strip(fourStates(on, backdrop)), folder, on.file + ".bmp"));
    r.set(12, off.tip + QStringLiteral(" # ") + on.tip);
    r.set(13, 1).set(14, 1).set(15, 1);
    return r;
}
