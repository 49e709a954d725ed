#include "controls/colourregion.h"

#include <QBitmap>

QRegion RegionFromColour(const QImage &bitmap, QRgb colour)
{
    if (bitmap.isNull())
        return {};
    const QImage rgb = bitmap.convertToFormat(QImage::Format_RGB32);
    if (qRgb(qRed(colour), qGreen(colour), qBlue(colour)) == qRgb(0, 0, 0))
        colour = rgb.pixel(0, 0);
    // One pass over the pixels into a 1-bit mask, then one conversion: a
    // region operation per pixel is far too slow for window-sized masks.
    const QImage mask = rgb.createMaskFromColor(colour | 0xFF000000u, Qt::MaskOutColor);
    return QRegion(QBitmap::fromImage(mask));
}

// Outlines keep the 1x geometry: a picture drawn at twice the density is cut
// where its 1x picture is (the default skin cuts whole 2x2 blocks).
QRegion OutlineRegion(const QImage &bitmap)
{
    if (bitmap.isNull())
        return {};
    if (bitmap.devicePixelRatio() != 1) {
        QImage plain = bitmap.scaled(bitmap.deviceIndependentSize().toSize(), Qt::IgnoreAspectRatio,
                                     Qt::FastTransformation);
        plain.setDevicePixelRatio(1);
        return OutlineRegion(plain);
    }
    return QRegion(bitmap.rect()) - RegionFromColour(bitmap, OutlineColour);
}

QImage SeeThroughBottomLeft(const QImage &picture)
{
    if (picture.isNull())
        return picture;
    QImage out = picture.convertToFormat(QImage::Format_ARGB32);
    const QRgb key = out.pixel(0, out.height() - 1) | 0xFF000000u;
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x)
            if ((line[x] | 0xFF000000u) == key)
                line[x] = 0;
    }
    return out;
}
