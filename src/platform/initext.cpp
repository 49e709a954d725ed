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

IniFileForm DetectIniForm(QByteArrayView bytes)
{
    if (bytes.startsWith(kUtf16LEMark))
        return {IniEncoding::Utf16LE, kUtf16LEMark.size()};
    if (bytes.startsWith(kUtf16BEMark))
        return {IniEncoding::Utf16BE, kUtf16BEMark.size()};
    const qsizetype mark = bytes.startsWith(kUtf8Mark) ? kUtf8Mark.size() : 0;
    if (mark)
        return {IniEncoding::Utf8, mark};
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(bytes); // the decoder works only when its result is taken
    return {utf8.hasError() ? IniEncoding::Windows1252 : IniEncoding::Utf8, 0};
}

QByteArray IniByteOrderMark(IniEncoding encoding, bool withMark)
{
    switch (encoding) {
    case IniEncoding::Utf16LE:
        return kUtf16LEMark;
    case IniEncoding::Utf16BE:
        return kUtf16BEMark;
    case IniEncoding::Utf8:
        return withMark ? kUtf8Mark : QByteArray();
    case IniEncoding::Windows1252:
        break;
    }
    return {};
}

int IniUnitSize(IniEncoding encoding)
{
    return encoding == IniEncoding::Utf16LE || encoding == IniEncoding::Utf16BE ? 2 : 1;
}

char16_t IniUnitAt(QByteArrayView bytes, IniEncoding encoding, qsizetype i)
{
    const uchar *p = reinterpret_cast<const uchar *>(bytes.data());
    switch (encoding) {
    case IniEncoding::Utf16LE:
        return qFromLittleEndian<quint16>(p + 2 * i);
    case IniEncoding::Utf16BE:
        return qFromBigEndian<quint16>(p + 2 * i);
    case IniEncoding::Utf8:
    case IniEncoding::Windows1252:
        break;
    }
    return p[i];
}

QString DecodeIniBytes(QByteArrayView bytes, IniEncoding encoding)
{
    switch (encoding) {
    case IniEncoding::Utf16LE:
    case IniEncoding::Utf16BE:
        return fromUtf16(bytes, encoding == IniEncoding::Utf16BE);
    case IniEncoding::Windows1252:
        return fromWindows1252Bytes(bytes);
    case IniEncoding::Utf8:
        break;
    }
    // ConvertInitialBom: a mark at the start of a line is text.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    return utf8.decode(bytes);
}

bool EncodeIniText(const QString &text, IniEncoding encoding, QByteArray &out)
{
    switch (encoding) {
    case IniEncoding::Utf16LE:
    case IniEncoding::Utf16BE:
        out = toUtf16(text, encoding == IniEncoding::Utf16BE);
        return true;
    case IniEncoding::Utf8:
        out = text.toUtf8();
        return true;
    case IniEncoding::Windows1252:
        break;
    }
    out.resize(text.size());
    for (qsizetype i = 0; i < text.size(); ++i)
        if (!toWindows1252(text[i].unicode(), out[i]))
            return false;
    return true;
}
