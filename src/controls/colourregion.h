#pragma once

#include <QImage>
#include <QRegion>

// The colour that marks "not part of me" in skin bitmaps: button outlines
// and window masks.
inline constexpr QRgb OutlineColour = 0xFFFF00FF; // magenta

// The pixels of bitmap whose colour equals colour (alpha is not compared).
// A colour whose red, green and blue are all 0 stands for the colour of the
// top-left pixel, the way skins name "the background colour".
// An empty region for a null bitmap.
QRegion RegionFromColour(const QImage &bitmap, QRgb colour);

// The rectangle of bitmap without its magenta pixels: the shape of a button
// or a window whose skin cuts its outline.
QRegion OutlineRegion(const QImage &bitmap);

// A copy of picture in which every pixel of the bottom-left pixel's colour is
// see-through, the usual meaning of a transparent bitmap.
QImage SeeThroughBottomLeft(const QImage &picture);
