#include "platform/initext.h"

#include <QStringDecoder>
#include <QtEndian>
#include <array>

namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F. The five codes it
// leaves undefined map to the C1 controls of the same value, as the
// platform's own conversion does, so every byte survives a round trip.
constexpr std::array<char16_t, 32> kHighControls = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

const QByteArray kUtf8Mark = QByteArrayLiteral("\xEF\xBB\xBF");
const QByteArray kUtf16LEMark = QByteArrayLiteral("\xFF\xFE");
const QByteArray kUtf16BEMark = QByteArrayLiteral("\xFE\xFF");

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

// Code unit by code unit, so that unpaired surrogates survive a round trip.
// A last odd byte is no code unit and is dropped.
QString fromUtf16(QByteArrayView bytes, bool bigEndian)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const uchar *p = reinterpret_cast<const uchar *>(bytes.data()) + 2 * i;
        text[i] = QChar(bigEndian ? qFromBigEndian<quint16>(p) : qFromLittleEndian<quint16>(p));
    }
    return text;
}

QByteArray toUtf16(const QString &text, bool bigEndian)
{
    QByteArray out(text.size() * 2, Qt::Uninitialized);
    for (qsizetype i = 0; i < text.size(); ++i) {
        uchar *p = reinterpret_cast<uchar *>(out.data()) + 2 * i;
        if (bigEndian)
            qToBigEndian<quint16>(text[i].unicode(), p);
        else
            qToLittleEndian<quint16>(text[i].unicode(), p);
    }
    return out;
}

QString fromWindows1252Bytes(QByteArrayView bytes)
{
    QString text(bytes.size(), Qt::Uninitialized);
    for (qsizetype i = 0; i < bytes.size(); ++i)
        text[i] = QChar(fromWindows1252(uchar(bytes[i])));
    return text;
}

} // namespace

IniText DecodeIniFile(QByteArrayView bytes)
{
    IniText t;
    if (bytes.startsWith(kUtf16LEMark) || bytes.startsWith(kUtf16BEMark)) {
        const bool bigEndian = bytes.startsWith(kUtf16BEMark);
        t.encoding = bigEndian ? IniEncoding::Utf16BE : IniEncoding::Utf16LE;
        t.byteOrderMark = true;
        t.text = fromUtf16(bytes.sliced(2), bigEndian);
        return t;
    }
    t.byteOrderMark = bytes.startsWith(kUtf8Mark);
    const QByteArrayView body = t.byteOrderMark ? bytes.sliced(kUtf8Mark.size()) : bytes;
    // ConvertInitialBom: a second mark right after the first is text.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(body);
    if (!utf8.hasError()) {
        t.text = std::move(text);
        return t;
    }
    // A file with a UTF-8 mark stays UTF-8: what does not decode is replaced.
    if (t.byteOrderMark) {
        t.text = std::move(text);
        return t;
    }
    t.encoding = IniEncoding::Windows1252;
    t.text = fromWindows1252Bytes(body);
    return t;
}

bool EncodeIniFile(const IniText &text, QByteArray &out)
{
    switch (text.encoding) {
    case IniEncoding::Utf16LE:
    case IniEncoding::Utf16BE: {
        const bool bigEndian = text.encoding == IniEncoding::Utf16BE;
        out = (bigEndian ? kUtf16BEMark : kUtf16LEMark) + toUtf16(text.text, bigEndian);
        return true;
    }
    case IniEncoding::Utf8:
        out = (text.byteOrderMark ? kUtf8Mark : QByteArray()) + text.text.toUtf8();
        return true;
    case IniEncoding::Windows1252:
        break;
    }
    out.resize(text.text.size());
    for (qsizetype i = 0; i < text.text.size(); ++i)
        if (!toWindows1252(text.text[i].unicode(), out[i]))
            return false;
    return true;
}
