#include "controls/picture.h"

#include "platform/jpegdecoder.h"

#include <QFile>
#include <QFileInfo>

QImage PixelsImage(const JpegPixels &decoded)
{
    if (decoded.isNull())
        return {};
    return QImage(reinterpret_cast<const uchar *>(decoded.pixels.constData()), decoded.width,
                  decoded.height, decoded.width * 4, QImage::Format_RGB32)
        .copy();
}

QImage DecodeJpeg(const QByteArray &data)
{
    return PixelsImage(DecodeJpegPixels(data));
}

QImage LoadPictureFile(const QString &path)
{
    const QString ext = QFileInfo(path).suffix().toLower();
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg")) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly))
            return {};
        return DecodeJpeg(f.readAll());
    }
    const char *format = ext == QLatin1String("bmp")   ? "BMP"
                         : ext == QLatin1String("png") ? "PNG"
                         : ext == QLatin1String("ico") ? "ICO"
                                                       : nullptr;
    if (!format)
        return {};
    return QImage(path, format);
}
