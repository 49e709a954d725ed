#pragma once

// How the bytes of a profile or skin file become text and back. Files made
// on Windows are often in its ANSI code page rather than UTF-8, or saved as
// "Unicode" (UTF-16 after a byte-order mark). A file with a UTF-16 mark is
// UTF-16; otherwise it is read as UTF-8 when it is valid UTF-8 and as
// Windows-1252 if not. It is written back in the encoding it was read in.
// Every conversion is lossless, so text read and written back unchanged
// gives the same bytes.

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

// A whole file's text: its encoding, whether it began with a byte-order mark
// (the only one skipped: a mark further on is text) and the text after it.
struct IniText
{
    IniEncoding encoding = IniEncoding::Utf8;
    bool byteOrderMark = false;
    QString text;
};

IniText DecodeIniFile(QByteArrayView bytes);
// The file's bytes for text: the byte-order mark when it had one, then the
// text. Returns false (out unspecified) when a character has no code in a
// Windows-1252 file; the other encodings always succeed.
bool EncodeIniFile(const IniText &text, QByteArray &out);
