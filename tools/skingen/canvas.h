#pragma once

#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRectF>
#include <QString>

// Drawing helpers shared by every piece of the default skin.

QImage NewCanvas(int w, int h, const QColor &fill);
// A painter with antialiasing on, as every skin drawing wants.
void Smooth(QPainter &p);
QPainterPath Rounded(const QRectF &r, qreal radius);
// Paints every pixel whose centre lies outside shape in the outline colour
// (magenta), so the program cuts it away; edge pixels keep their blend with
// what lay beneath, which hides the hard cut.
void CutOutside(QImage &image, const QPainterPath &shape);
QColor Mix(const QColor &a, const QColor &b, qreal t);
// a over b with t of a's weight (same sizes).
QImage Blend(const QImage &a, const QImage &b, qreal t);
void Text(QPainter &p, const QRectF &box, const QString &text, int pixels, bool bold,
          const QColor &colour, int flags = Qt::AlignLeft | Qt::AlignVCenter);
// A soft drop shadow under a rounded shape.
void Shadow(QPainter &p, const QRectF &r, qreal radius, int spread, int alpha);
// Writes a bitmap the way skins store them: 24-bit BMP.
bool SaveBitmap(const QImage &image, const QString &path);
bool SaveJpeg(const QImage &image, const QString &path);
