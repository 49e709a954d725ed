// Decodes JPEG data into plain pixels with libjpeg-turbo, without any GUI
// library, so that probing can tell a picture from garbage on a server.
#pragma once

#include <QByteArray>

// A decoded picture: rows of width pixels, each pixel 0xffRRGGBB in native
// byte order (the layout of a 32-bit RGB QImage), rows packed.
struct JpegPixels
{
    int width = 0;
    int height = 0;
    QByteArray pixels;

    bool isNull() const { return width <= 0 || height <= 0; }
};

// Nothing (a null result) when the data is not a whole JPEG picture.
JpegPixels DecodeJpegPixels(const QByteArray &data);
