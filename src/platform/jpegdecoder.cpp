#include "platform/jpegdecoder.h"

#include <QtEndian>
#include <turbojpeg.h>

JpegPixels DecodeJpegPixels(const QByteArray &data)
{
    JpegPixels result;
    tjhandle tj = tjInitDecompress();
    if (!tj)
        return result;
    int width = 0, height = 0, subsampling = 0, colourspace = 0;
    auto *bytes = reinterpret_cast<const unsigned char *>(data.constData());
    const auto size = static_cast<unsigned long>(data.size());
    // Bounded so that a forged header cannot ask for gigabytes.
    if (tjDecompressHeader3(tj, bytes, size, &width, &height, &subsampling, &colourspace) == 0 &&
        width > 0 && height > 0 && qint64(width) * height <= 64 * 1024 * 1024) {
        // 0xffRRGGBB as bytes in memory; the decoder fills X with 0xFF.
        const int pixelFormat = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
        QByteArray pixels(qsizetype(width) * height * 4, Qt::Uninitialized);
        if (tjDecompress2(tj, bytes, size, reinterpret_cast<unsigned char *>(pixels.data()), width,
                          width * 4, height, pixelFormat, TJFLAG_ACCURATEDCT) == 0)
            result = JpegPixels{width, height, std::move(pixels)};
    }
    tjDestroy(tj);
    return result;
}
