#include "tools/skingen/parts.h"

#include "tools/skingen/buttonart.h"
#include "tools/skingen/canvas.h"
#include "tools/skingen/icons.h"
#include "tools/skingen/theme.h"

namespace {
constexpr int kScrollWidth = 14;
constexpr int kThumbHeight = 44;
constexpr int kMarkerWidth = 8;
const QColor kTrack(0x1B, 0x21, 0x2C);
const QColor kGroove(0x2A, 0x32, 0x42);

void save(const QImage &image, const QString &folder, const QString &name)
{
    if (!SaveBitmap(image, folder + name))
        qFatal("cannot write %s", qPrintable(folder + name));
}

QImage scrollThumb(const QColor &colour)
{
    QImage img = NewCanvas(kScrollWidth, kThumbHeight, kTrack);
    QPainter p(&img);
    Smooth(p);
    p.fillPath(Rounded(QRectF(3.5, 2, 7, kThumbHeight - 4), 3.5), colour);
    return img;
}

QImage scrollButton(Icon icon, const QColor &back, const QColor &ink)
{
    QImage img = NewCanvas(kScrollWidth, kScrollWidth, kTrack);
    QPainter p(&img);
    Smooth(p);
    if (back.alpha())
        p.fillPath(Rounded(QRectF(1, 1, 12, 12), 3), back);
    DrawIcon(p, icon, QRectF(1, 1, 12, 12), ink);
    return img;
}

QImage sliderThumb(const QImage &backdrop, const QColor &fill, const QColor &ring, qreal glow)
{
    QImage img = backdrop.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    Smooth(p);
    const QPointF c(Size1x(img).width() / 2.0, Size1x(img).height() / 2.0);
    if (glow > 0) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(ring.red(), ring.green(), ring.blue(), 70));
        p.drawEllipse(c, 7.0, 7.0);
    }
    p.setBrush(fill);
    p.setPen(QPen(ring, 2));
    p.drawEllipse(c, 5.0 + glow * 0.5, 5.0 + glow * 0.5);
    p.end();
    QPainterPath round;
    round.addEllipse(c, 7.0, 7.0);
    CutOutside(img, round);
    return img;
}

// A trim marker: an upright bar with a flag pointing into the kept range.
QImage marker(const QImage &backdrop, bool start, const QColor &colour)
{
    QImage img = backdrop.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&img);
    Smooth(p);
    QPainterPath shape;
    const qreal bar = start ? kMarkerWidth - 3 : 0;
    shape.addRoundedRect(QRectF(bar, 1, 3, SliderHeight - 2), 1.2, 1.2);
    QPainterPath flag;
    const qreal tip = start ? 0 : kMarkerWidth;
    flag.moveTo(bar + (start ? 0 : 3), 1);
    flag.lineTo(tip, 1);
    flag.lineTo(bar + (start ? 0 : 3), 7);
    flag.closeSubpath();
    shape = shape.united(flag);
    p.fillPath(shape, colour);
    p.end();
    CutOutside(img, shape);
    return img;
}
} // namespace

Record WriteClipListParts(const QRect &rect, const QString &folder)
{
    save(Strip({scrollThumb(QColor(0x3A, 0x44, 0x56)), scrollThumb(QColor(0x56, 0x62, 0x7A)),
                scrollThumb(Theme::Accent)}),
         folder, "list_thumb.bmp");
    for (auto [icon, name] :
         {std::pair{Icon::ChevronUp, "list_up.bmp"}, std::pair{Icon::ChevronDown, "list_down.bmp"}})
        save(Strip({scrollButton(icon, Qt::transparent, Theme::TextLow),
                    scrollButton(icon, Theme::Raised, Theme::TextHi),
                    scrollButton(icon, Theme::Accent, Qt::white)}),
             folder, name);
    QImage track = NewCanvas(kScrollWidth, 64, kTrack);
    QPainter(&track).fillRect(0, 0, 1, 64, QColor(0x24, 0x2B, 0x38));
    save(track, folder, "list_track.bmp");
    save(NewCanvas(8, 8, Theme::ListBack), folder, "list_back.bmp");
    // A soft floor under the last row.
    QImage bottom = NewCanvas(rect.width() - kScrollWidth, 6, Theme::ListBack);
    {
        QPainter p(&bottom);
        QLinearGradient fade(0, 0, 0, 6);
        fade.setColorAt(0, Theme::ListBack);
        fade.setColorAt(1, QColor(0x0C, 0x10, 0x16));
        p.fillRect(bottom.rect(), fade);
    }
    save(bottom, folder, "list_bottom.bmp");
    Record r;
    r.set(1, "list_thumb.bmp").set(2, "list_up.bmp").set(3, "list_down.bmp");
    r.set(4, rect.x()).set(5, rect.y()).set(6, rect.width()).set(7, rect.height());
    r.set(13, "list_track.bmp").set(14, "list_back.bmp").set(15, "list_bottom.bmp");
    return r;
}

Record WriteSliderParts(QPoint pos, int width, const QImage &background, const QString &folder)
{
    const QImage backdrop = CopyPart(background, QRect(pos.x(), pos.y(), width, SliderHeight));
    QImage face = backdrop.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    {
        QPainter p(&face);
        Smooth(p);
        const qreal mid = SliderHeight / 2.0;
        p.fillPath(Rounded(QRectF(kMarkerWidth, mid - 2, width - 2 * kMarkerWidth, 4), 2), kGroove);
    }
    save(face, folder, "slider_back.bmp");

    QImage range = NewCanvas(16, 4, Theme::Accent);
    save(range, folder, "slider_range.bmp");

    const QImage under = CopyPart(backdrop, QRect(0, (SliderHeight - 14) / 2, 14, 14));
    save(Strip({sliderThumb(under, Qt::white, Theme::Accent, 0),
                sliderThumb(under, Qt::white, Theme::AccentHi, 1),
                sliderThumb(under, Theme::AccentHi, Qt::white, 1)}),
         folder, "slider_thumb.bmp");
    const QImage edge = CopyPart(backdrop, QRect(0, 0, kMarkerWidth, SliderHeight));
    for (bool start : {true, false})
        save(Strip({marker(edge, start, Theme::Amber),
                    marker(edge, start, QColor(0xFF, 0xCD, 0x80)), marker(edge, start, Qt::white)}),
             folder, start ? "slider_in.bmp" : "slider_out.bmp");

    Record r;
    r.set(1, "slider_thumb.bmp").set(2, "slider_range.bmp").set(3, "slider_back.bmp");
    r.set(4, pos.x()).set(5, pos.y()).set(8, 1).set(9, 1).set(12, "Playing position");
    r.set(13, "slider_in.bmp").set(14, "slider_out.bmp");
    return r;
}
