#include "controls/picture.h"

#include "platform/jpegdecoder.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>

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

QString HighDensityPath(const QString &path)
{
    const QFileInfo info(path);
    const QString suffix = info.suffix();
    if (suffix.isEmpty())
        return path + QStringLiteral("@2x");
    return path.left(path.size() - suffix.size() - 1) + QStringLiteral("@2x.") + suffix;
}

QImage LoadSkinPicture(const QString &path, qreal dpr)
{
    if (dpr > 1) {
        QImage dense = LoadPictureFile(HighDensityPath(path));
        if (!dense.isNull()) {
            dense.setDevicePixelRatio(2);
            return dense;
        }
    }
    return LoadPictureFile(path);
}

qreal ScreenPixelRatio()
{
    return qGuiApp ? qGuiApp->devicePixelRatio() : 1;
}

QSize LogicalSize(const QImage &image)
{
    return image.deviceIndependentSize().toSize();
}
