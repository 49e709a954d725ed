#include "platform/initext.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five codes it
// leaves undefined map to the C1 controls of the same value, as the
// platform's own conversion does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char16_t fromWindows1252(uchar b)
{
    return b >= 0x80 && b < 0xA0 ? kHighControls[b - 0x80] : char16_t(b);
}

bool toWindows1252(char16_t c, char &out)
{
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
        out = char(c);
        return true;
    }
    for (size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) {
            out = char(0x80 + i);
            return true;
        }
    }
    return false;
}

} // namespace

IniEncoding DetectIniEncoding(QByteArrayView bytes)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString ignored = utf8.decode(bytes);
    return utf8.hasError() ? IniEncoding::Windows1252 : IniEncoding::Utf8;
}

QString DecodeIniBytes(QByteArrayView bytes, IniEncoding encoding)
{
    if (encoding == IniEncoding::Utf8)
        return QString::fromUtf8(bytes);
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(fromWindows1252(uchar(bytes[i])));
    return text;
}

bool EncodeIniText(const QString &text, IniEncoding encoding, QByteArray &out)
{
    if (encoding == IniEncoding::Utf8) {
        out = text.toUtf8();
        return true;
    }
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!toWindows1252(text[i].unicode(), out[i]))
            return false;
    return true;
}
