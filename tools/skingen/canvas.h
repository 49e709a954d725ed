#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

// Drawing helpers shared by every piece of the default skin.

// The skin is drawn once at 1x and once at 2x for high-density screens. Every
// size and position below is in 1x pixels; a canvas at 2x has twice the
// pixels and a device pixel ratio of 2, so the same drawing fills it sharply.
void SetCanvasScale(int scale);
QImage NewCanvas(int w, int h, const QColor &fill);
// The part of image under the 1x rectangle r.
QImage CopyPart(const QImage &image, const QRect &r);
// An image's width and height in 1x pixels.
QSize Size1x(const QImage &image);
// A painter with antialiasing on, as every skin drawing wants.
void Smooth(QPainter &p);
QPainterPath Rounded(const QRectF &r, qreal radius);
// Paints every pixel whose centre lies outside shape in the outline colour
// (magenta), so the program cuts it away; edge pixels keep their blend with
// what lay beneath, which hides the hard cut. At 2x a pixel is cut with the
// 1x pixel it belongs to: the program cuts every outline from 1x geometry.
void CutOutside(QImage &image, const QPainterPath &shape);
QColor Mix(const QColor &a, const QColor &b, qreal t);
// a over b with t of a's weight (same sizes).
QImage Blend(const QImage &a, const QImage &b, qreal t);
void Text(QPainter &p, const QRectF &box, const QString &text, int pixels, bool bold,
          const QColor &colour, int flags = Qt::AlignLeft | Qt::AlignVCenter);
// A soft drop shadow under a rounded shape.
void Shadow(QPainter &p, const QRectF &r, qreal radius, int spread, int alpha);
// Writes a bitmap the way skins store them: 24-bit BMP. A 2x picture goes
// beside its 1x one under the same name with "@2x" before the extension.
bool SaveBitmap(const QImage &image, const QString &path);
bool SaveJpeg(const QImage &image, const QString &path);
