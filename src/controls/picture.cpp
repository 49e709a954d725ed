#include "controls/picture.h"

#include <QFile>
#include <QFileInfo>
#include <turbojpeg.h>

QImage DecodeJpeg(const QByteArray &data)
{
    tjhandle tj = tjInitDecompress();
    if (!tj)
        return {};
    QImage image;
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    if (tjDecompressHeader3(tj, bytes, static_cast<unsigned long>(data.size()), &width, &height,
                            &subsampling, &colourspace) == 0 &&
        width > 0 && height > 0) {
        // Qt's 0xffRRGGBB pixel as bytes in memory; the decoder fills X with 0xFF.
        const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
        image = QImage(width, height, QImage::Format_RGB32);
        if (image.isNull() ||
            tjDecompress2(tj, bytes, static_cast<unsigned long>(data.size()), image.bits(), width,
                          int(image.bytesPerLine()), height, pixelFormat, TJFLAG_ACCURATEDCT) != 0)
            image = QImage();
    }
    tjDestroy(tj);
    return image;
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
