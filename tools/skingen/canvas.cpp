#include "tools/skingen/canvas.h"

#include "tools/skingen/theme.h"

#include <QImageWriter>

QFont Theme::Face(int pixels, bool bold)
{
    QFont f(QStringLiteral("Tahoma"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

namespace {
int g_scale = 1;

QString ScaledName(const QImage &image, const QString &path)
{
    if (image.devicePixelRatio() == 1)
        return path;
    const qsizetype dot = path.lastIndexOf(QLatin1Char('.'));
    return path.left(dot) + QStringLiteral("@%1x").arg(int(image.devicePixelRatio())) +
           path.mid(dot);
}
} // namespace

void SetCanvasScale(int scale)
{
    g_scale = scale;
}

QImage NewCanvas(int w, int h, const QColor &fill)
{
    QImage img(w * g_scale, h * g_scale, QImage::Format_ARGB32_Premultiplied);
    img.setDevicePixelRatio(g_scale);
    img.fill(fill);
    return img;
}

QImage CopyPart(const QImage &image, const QRect &r)
{
    const int d = int(image.devicePixelRatio());
    QImage part = image.copy(r.x() * d, r.y() * d, r.width() * d, r.height() * d);
    part.setDevicePixelRatio(d);
    return part;
}

QSize Size1x(const QImage &image)
{
    return image.deviceIndependentSize().toSize();
}

void Smooth(QPainter &p)
{
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QPainterPath Rounded(const QRectF &r, qreal radius)
{
    QPainterPath path;
    path.addRoundedRect(r, radius, radius);
    return path;
}

void CutOutside(QImage &image, const QPainterPath &shape)
{
    const int d = int(image.devicePixelRatio());
    for (int y = 0; y < image.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (!shape.contains(QPointF(x / d + 0.5, y / d + 0.5)))
                line[x] = 0xFFFF00FF;
    }
}

QColor Mix(const QColor &a, const QColor &b, qreal t)
{
    return QColor::fromRgbF(
        a.redF() * (1 - t) + b.redF() * t, a.greenF() * (1 - t) + b.greenF() * t,
        a.blueF() * (1 - t) + b.blueF() * t, a.alphaF() * (1 - t) + b.alphaF() * t);
}

QImage Blend(const QImage &a, const QImage &b, qreal t)
{
    QImage out = b.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter p(&out);
    p.setOpacity(t);
    p.drawImage(0, 0, a);
    return out;
}

void Text(QPainter &p, const QRectF &box, const QString &text, int pixels, bool bold,
          const QColor &colour, int flags)
{
    p.save();
    p.setFont(Theme::Face(pixels, bold));
    p.setPen(colour);
    p.drawText(box, flags, text);
    p.restore();
}

void Shadow(QPainter &p, const QRectF &r, qreal radius, int spread, int alpha)
{
    p.save();
    p.setPen(Qt::NoPen);
    for (int i = spread; i > 0; --i) {
        const qreal t = qreal(i) / spread;
        p.setBrush(QColor(0, 0, 0, int(alpha * (1 - t) * (1 - t) / 2 + 1)));
        p.drawPath(Rounded(r.adjusted(-i, -i + 2, i, i + 2), radius + i));
    }
    p.restore();
}

bool SaveBitmap(const QImage &image, const QString &path)
{
    return image.convertToFormat(QImage::Format_RGB888).save(ScaledName(image, path), "BMP");
}

bool SaveJpeg(const QImage &image, const QString &path)
{
    QImageWriter writer(ScaledName(image, path), "jpeg");
    writer.setQuality(92);
    return writer.write(image.convertToFormat(QImage::Format_RGB32));
}
