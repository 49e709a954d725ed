#pragma once

// How the bytes of a profile or skin file become text and back. Files made
// on Windows are often in its ANSI code page rather than UTF-8, or saved as
// "Unicode" (UTF-16 after a byte-order mark). A file with a UTF-16 mark is
// UTF-16; otherwise it is read as UTF-8 when it is valid UTF-8 and as
// Windows-1252 if not. The file is taken a line at a time, so that a writer
// can give back the bytes of every line it did not change exactly as read,
// even bytes that are no text in the file's encoding.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

enum class IniEncoding
{
    Utf8,
    Windows1252,
    Utf16LE,
    Utf16BE
};

// The encoding of a whole file and the length of the byte-order mark it
// begins with (0 without one; only a mark at the very start counts).
struct IniFileForm
{
    IniEncoding encoding = IniEncoding::Utf8;
    qsizetype markSize = 0;
};

IniFileForm DetectIniForm(QByteArrayView bytes);
// The mark a file of that encoding is written with: UTF-16 always has one,
// UTF-8 only when withMark.
QByteArray IniByteOrderMark(IniEncoding encoding, bool withMark);
// Bytes per code unit: 2 for UTF-16, else 1.
int IniUnitSize(IniEncoding encoding);
// The code unit at unit index i of bytes.
char16_t IniUnitAt(QByteArrayView bytes, IniEncoding encoding, qsizetype i);

// Text of a piece of the file after its mark. UTF-8 that does not decode
// (a file with a UTF-8 mark stays UTF-8) reads as replacement characters.
QString DecodeIniBytes(QByteArrayView bytes, IniEncoding encoding);
// The bytes for text. Returns false (out unspecified) when a character has
// no code in Windows-1252; the other encodings always succeed.
bool EncodeIniText(const QString &text, IniEncoding encoding, QByteArray &out);
