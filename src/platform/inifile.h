#pragma once

// The private-profile (INI) reader and writer behind Output.dll and Skin.ini.

#include "platform/initext.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <stdexcept>

// Raised when a write cannot be carried out; the message is the one the user
// sees: "Unable to write to <full path>".
class IniWriteError : public std::runtime_error
{
public:
    explicit IniWriteError(const QString &path);
};

// Reads and writes one INI file the way the classic private-profile
// functions do, so that hand-edited profile and skin files behave as users
// of those files expect:
//  - section and key names compare without regard to case, one UTF-16 unit
//    at a time through the platform's upper-case table (see IniNameKey);
//    blanks around them (in the file and in the call) do not count;
//  - a missing file, section or key gives the default; only the first of
//    duplicate sections, and the first of duplicate keys, is seen;
//  - a value loses the blanks around it and one pair of matching outer
//    quotes, and is cut at 2047 (see CleanIniValue); "blanks" in the file
//    are the ASCII white space and the DOS end-of-file mark 0x1A;
//  - a NUL ends the name or value it stands in, after the blanks around
//    that were dropped; the rest of the line still counts;
//  - lines starting with ';' are comments; keys before the first section
//    belong to no section; a line without '=' is a key without a value: a
//    lookup of it gives the default, it hides later keys of its name, and
//    writing the key fills it in;
//  - a section name runs to the last ']' of its line; a '[' line without
//    any ']' is no header, its following keys stay in the section before;
//  - "\r\n", "\n" and a lone "\r" each end a line;
//  - the file is UTF-16 after a UTF-16 byte-order mark ("Unicode" files),
//    else UTF-8 when it is valid UTF-8 and Windows-1252 otherwise; only a
//    byte-order mark at the very start is skipped, and it is kept when
//    writing.
// The file is opened for each call and closed right after it; nothing is
// cached. A write changes only the line of its key (or adds one), in the
// encoding the file was read in, and gives back every other line's bytes as
// they were, even bytes that are no text there. A Windows-1252 file given a
// character it cannot hold becomes UTF-16 with its mark as a whole, which
// the platform reads as Unicode, so every line reads the same there. A write
// replaces the file atomically, so a crash mid-write leaves the old file or
// the new one, never a truncated one.
class IniFile
{
public:
    static constexpr int MaxValueLength = 2047;

    explicit IniFile(QString path);

    const QString &path() const { return m_path; }

    QString readString(const QString &section, const QString &key, const QString &def) const;
    // Decimal, or hexadecimal after "0x" or "$"; anything else gives def.
    int readInteger(const QString &section, const QString &key, int def) const;

    // Every key of the section with its value (read as readString would),
    // keyed by IniNameKey of the key name, from one reading of the file. For
    // callers that look up many numbered keys. A key without a value is left
    // out, and so are the later keys it hides.
    QHash<QString, QString> readSection(const QString &section) const;

    // Throws IniWriteError when the file cannot be written.
    void writeString(const QString &section, const QString &key, const QString &value) const;
    void writeInteger(const QString &section, const QString &key, int value) const;

private:
    QString m_path;
};

// The form of a name that equals the form of every name the platform takes
// for the same: ASCII letters in lower case ("profile0"), others through the
// platform's upper-case table.
QString IniNameKey(const QString &name);

// The value the platform reads from raw, the text after a key's '='. The
// blanks around it go, a NUL ends it, and it is cut at MaxValueLength
// before one pair of matching outer quotes comes off (a closing quote the
// cut took stays gone). The limit counts UTF-16 units in a file with a
// byte-order mark, and bytes in one without (the platform reads those in
// its ANSI code page): a UTF-8 value is cut back to its last whole
// character.
QString CleanIniValue(const QString &raw, IniEncoding encoding, bool byteOrderMark);

// Integer text as profile files write it: optional sign, then decimal
// digits, or hexadecimal digits after "0x"/"$". Returns false (and leaves
// out alone) for anything else, including values beyond 32 bits.
bool ParseIniInteger(const QByteArray &text, int &out);
