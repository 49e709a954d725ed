#pragma once

// How the bytes of a profile or skin file become text and back. Files made
// on Windows are often in its ANSI code page rather than UTF-8, so a file is
// read as UTF-8 when it is valid UTF-8 and as Windows-1252 otherwise, and is
// written back in the encoding it was read in.

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

enum class IniEncoding
{
    Utf8,
    Windows1252
};

IniEncoding DetectIniEncoding(QByteArrayView bytes);
QString DecodeIniBytes(QByteArrayView bytes, IniEncoding encoding);
// Returns false (out unspecified) when a character has no code in the
// encoding; UTF-8 always succeeds.
bool EncodeIniText(const QString &text, IniEncoding encoding, QByteArray &out);
