#include "platform/nativepath.h"

#include <QFile>
#include <QStringList>
#include <dirent.h>
#include <sys/stat.h>

namespace {
constexpr char16_t kEscapeBase = 0xDC00;

// An escaped byte; a low surrogate right after a high one is half of a real
// character instead.
bool isEscape(const QString &s, qsizetype i)
{
    return s[i].unicode() >= 0xDC80 && s[i].unicode() <= 0xDCFF &&
           !(i > 0 && s[i - 1].isHighSurrogate());
}

// The length of the valid UTF-8 sequence at i, or 0.
int sequenceLength(const QByteArray &b, qsizetype i)
{
    const auto at = [&](qsizetype k) { return static_cast<unsigned char>(b[k]); };
    const unsigned char c = at(i);
    if (c < 0x80)
        return 1;
    int length = c >= 0xF0 && c <= 0xF4 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 && c < 0xE0 ? 2 : 0;
    if (length == 0 || i + length > b.size())
        return 0;
    for (int k = 1; k < length; ++k)
        if ((at(i + k) & 0xC0) != 0x80)
            return 0;
    const unsigned char second = at(i + 1);
    // Overlong forms, UTF-16 surrogates and code points past U+10FFFF.
    if ((c == 0xE0 && second < 0xA0) || (c == 0xED && second >= 0xA0) ||
        (c == 0xF0 && second < 0x90) || (c == 0xF4 && second >= 0x90))
        return 0;
    return length;
}

bool exists(const QByteArray &native)
{
    struct stat st;
    return ::lstat(native.constData(), &st) == 0;
}

// The one entry of folder whose name Qt would show as `shown`.
QByteArray matchingEntry(const QByteArray &folder, const QString &shown)
{
    DIR *dir = ::opendir(folder.isEmpty() ? "/" : folder.constData());
    if (!dir)
        return {};
    QByteArray found;
    int matches = 0;
    while (const dirent *entry = ::readdir(dir)) {
        const QByteArray name(entry->d_name);
        if (QFile::decodeName(name) == shown && ++matches == 1)
            found = name;
    }
    ::closedir(dir);
    return matches == 1 ? found : QByteArray();
}
} // namespace

QString PathFromNative(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    qsizetype start = 0;
    for (qsizetype i = 0; i < bytes.size();) {
        const int length = sequenceLength(bytes, i);
        if (length > 0) {
            i += length;
            continue;
        }
        out += QString::fromUtf8(bytes.constData() + start, i - start);
        out += QChar(char16_t(kEscapeBase + static_cast<unsigned char>(bytes[i])));
        start = ++i;
    }
    out += QString::fromUtf8(bytes.constData() + start, bytes.size() - start);
    return out;
}

QByteArray NativePath(const QString &path)
{
    QByteArray out;
    qsizetype start = 0;
    for (qsizetype i = 0; i < path.size(); ++i) {
        if (!isEscape(path, i))
            continue;
        out += QStringView(path).mid(start, i - start).toUtf8();
        out += char(path[i].unicode() - kEscapeBase);
        start = i + 1;
    }
    out += QStringView(path).mid(start).toUtf8();
    return out;
}

QString PathFromUrl(const QUrl &url)
{
    if (!url.isLocalFile())
        return {};
    return PathFromNative(QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1()));
}

QString FaithfulPath(const QString &path)
{
    if (!path.contains(QChar::ReplacementCharacter) || exists(path.toUtf8()))
        return path;
    const QStringList parts = path.split(QLatin1Char('/'));
    QByteArray resolved;
    for (qsizetype i = 0; i < parts.size(); ++i) {
        if (i > 0)
            resolved += '/';
        QByteArray part = NativePath(parts[i]);
        if (parts[i].contains(QChar::ReplacementCharacter) && !exists(resolved + part)) {
            part = matchingEntry(i == 0 ? QByteArray(".") : resolved.chopped(1), parts[i]);
            if (part.isEmpty())
                return path;
        }
        resolved += part;
    }
    return PathFromNative(resolved);
}

QString ShownName(const QString &name)
{
    QString shown = name;
    for (qsizetype i = 0; i < shown.size(); ++i)
        if (isEscape(name, i))
            shown[i] = QChar::ReplacementCharacter;
    return shown;
}

QString QuotedName(const QString &name)
{
    const auto plain = [](QChar c) { return c.unicode() >= 0x20 && c.unicode() != 0x7F; };
    bool quote = false;
    for (qsizetype i = 0; i < name.size() && !quote; ++i)
        quote = !plain(name[i]) || isEscape(name, i);
    if (!quote)
        return name;
    QString out = QStringLiteral("$'");
    const auto octal = [&](unsigned byte) {
        out += QStringLiteral("\\%1").arg(byte, 3, 8, QLatin1Char('0'));
    };
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c == QLatin1Char('\\') || c == QLatin1Char('\''))
            out += QLatin1Char('\\') + c;
        else if (c == QLatin1Char('\n'))
            out += QStringLiteral("\\n");
        else if (c == QLatin1Char('\t'))
            out += QStringLiteral("\\t");
        else if (!plain(c))
            octal(c.unicode());
        else if (isEscape(name, i))
            octal(c.unicode() - kEscapeBase);
        else
            out += c;
    }
    return out + QLatin1Char('\'');
}
