#pragma once

#include "platform/jpegdecoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Reads a picture file, its format known by the file's extension (.bmp,
// .jpg/.jpeg, .png and .ico; a skin's pictures are named so). A null
// image for a missing file, another extension, or data that does not decode.
QImage LoadPictureFile(const QString &path);

// The name a skin gives a picture drawn at twice the density: "@2x" before
// the extension ("main.bmp" -> "main@2x.bmp"), as Qt names its own. Skins
// made for one density simply have no such files.
QString HighDensityPath(const QString &path);
// A skin's picture for screens of device pixel ratio dpr: above 1 the @2x
// picture when the skin has one (its device pixel ratio 2, so it paints at
// the 1x size), else the 1x picture.
QImage LoadSkinPicture(const QString &path, qreal dpr);
// The highest device pixel ratio of the screens the program may show on.
qreal ScreenPixelRatio();
// An image's size in the 1x pixels of the skin's geometry.
QSize LogicalSize(const QImage &image);
// Decodes JPEG data with libjpeg-turbo; a null image when it is not JPEG.
QImage DecodeJpeg(const QByteArray &data);

// Decoded pixels as an image of their own; a null image for null pixels.
QImage PixelsImage(const JpegPixels &decoded);
