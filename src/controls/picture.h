#pragma once

#include "platform/jpegdecoder.h"

#include <QByteArray>
#include <QImage>
#include <QString>

// Reads a picture file, its format known by the file's extension (.bmp,
// .jpg/.jpeg, .png and .ico; a skin's pictures are named so). A null
// image for a missing file, another extension, or data that does not decode.
QImage LoadPictureFile(const QString &path);

// Decodes JPEG data with libjpeg-turbo; a null image when it is not JPEG.
QImage DecodeJpeg(const QByteArray &data);

// Decoded pixels as an image of their own; a null image for null pixels.
QImage PixelsImage(const JpegPixels &decoded);
