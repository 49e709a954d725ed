#include "platform/inifile.h"

#include "platform/initext.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSet>
#include <optional>
#include <vector>

IniWriteError::IniWriteError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString())
{}

namespace {

// What the platform trims around names and values: blanks, the other ASCII
// white space and the DOS end-of-file mark that old editors leave behind.
bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\v' || u == '\f' || u == '\r' || u == '\n' || u == 0x1a;
}

QString trimBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && isBlank(s[b]))
        ++b;
    while (e > b && isBlank(s[e - 1]))
        --e;
    return s.mid(b, e - b);
}

// Names given by a caller lose their spaces only (tabs stay, as with the
// platform functions).
QString trimSpaces(const QString &name)
{
    qsizetype b = 0, e = name.size();
    while (b < e && name[b] == QLatin1Char(' '))
        ++b;
    while (e > b && name[e - 1] == QLatin1Char(' '))
        --e;
    return name.mid(b, e - b);
}

// One physical line of the file, its terminator kept apart. A line nobody
// changed goes back as the bytes it was read from, whatever they held.
struct Line
{
    QString text;
    QString eol;
    QByteArray bytes; // as read, terminator included
    bool changed = true;

    void set(QString newText, QString newEol)
    {
        text = std::move(newText);
        eol = std::move(newEol);
        changed = true;
    }
};

// The file as read: its encoding and byte-order mark (both kept when it is
// written back) and its lines.
struct Document
{
    IniFileForm form;
    std::vector<Line> lines;
};

enum class Kind
{
    Other,
    Section,
    Key
};

struct Parsed
{
    Kind kind = Kind::Other;
    QString name;      // section or key name
    QString value;     // raw text after '=', for keys
    bool bare = false; // a key line without '=': it has no value
};

// The platform's reader takes names and values as C strings: a NUL ends
// the name or value it stands in, after the blanks around it were dropped,
// and the rest of the line still counts ("k\0x=v" is the key "k").
QString cutAtNul(const QString &s)
{
    const qsizetype nul = s.indexOf(QChar(0));
    return nul < 0 ? s : s.left(nul);
}

// A section name runs to the last ']' of its line; a '[' line without one
// is no header, so the keys after it stay in the section before. A line
// without '=' is a key without a value: it hides a later key of its name,
// and a write fills it in.
Parsed parseLine(const QString &text)
{
    Parsed p;
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i >= text.size() || text[i] == QLatin1Char(';'))
        return p;
    if (text[i] == QLatin1Char('[')) {
        qsizetype close = text.lastIndexOf(QLatin1Char(']'));
        if (close > i) {
            p.kind = Kind::Section;
            p.name = cutAtNul(trimBlanks(text.mid(i + 1, close - i - 1)));
            return p;
        }
    }
    p.kind = Kind::Key;
    qsizetype eq = text.indexOf(QLatin1Char('='), i);
    if (eq < 0) {
        p.bare = true;
        p.name = cutAtNul(trimBlanks(text.mid(i)));
        return p;
    }
    p.name = cutAtNul(trimBlanks(text.mid(i, eq - i)));
    p.value = text.mid(eq + 1);
    return p;
}

// "\r\n", "\n" and a lone "\r" all end a line. Lines are found among code
// units, so every line keeps the exact bytes it came from; a last odd byte
// of a UTF-16 file stays with the last line.
std::vector<Line> splitLines(QByteArrayView body, IniEncoding encoding)
{
    const int w = IniUnitSize(encoding);
    const qsizetype units = body.size() / w;
    auto unit = [&](qsizetype i) { return IniUnitAt(body, encoding, i); };
    std::vector<Line> lines;
    qsizetype pos = 0;
    while (pos < units) {
        qsizetype end = pos;
        while (end < units && unit(end) != u'\r' && unit(end) != u'\n')
            ++end;
        qsizetype next = end;
        if (end < units) {
            ++next;
            if (unit(end) == u'\r' && next < units && unit(next) == u'\n')
                ++next;
        }
        Line l;
        l.text = DecodeIniBytes(body.sliced(pos * w, (end - pos) * w), encoding);
        l.eol = DecodeIniBytes(body.sliced(end * w, (next - end) * w), encoding);
        l.bytes = body.sliced(pos * w, (next - pos) * w).toByteArray();
        l.changed = false;
        lines.push_back(std::move(l));
        pos = next;
    }
    if (body.size() % w && !lines.empty())
        lines.back().bytes += body.back();
    return lines;
}

std::optional<Document> readDocument(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray bytes = f.readAll();
    Document doc;
    doc.form = DetectIniForm(bytes);
    doc.lines = splitLines(QByteArrayView(bytes).sliced(doc.form.markSize), doc.form.encoding);
    return doc;
}

bool encodeLines(const Document &doc, IniEncoding encoding, bool reencodeAll, QByteArray &out)
{
    out = IniByteOrderMark(encoding, doc.form.markSize > 0);
    QByteArray piece;
    for (const Line &l : doc.lines) {
        if (!l.changed && !reencodeAll) {
            out += l.bytes;
            continue;
        }
        if (!EncodeIniText(l.text + l.eol, encoding, piece))
            return false;
        out += piece;
    }
    return true;
}

// A Windows-1252 file that must take a character it has no code for
// becomes UTF-16 with its mark, the form the platform reads as Unicode: a
// UTF-8 file without a mark would be read there in the ANSI code page, and
// every accented letter already in it would change.
QByteArray serialise(const Document &doc)
{
    QByteArray out;
    if (!encodeLines(doc, doc.form.encoding, false, out))
        encodeLines(doc, IniEncoding::Utf16LE, true, out);
    return out;
}

// The platform compares names through its upper-case table, one UTF-16 unit
// at a time; that table leaves the dotless i and the long s alone, so
// "pſp" is not "psp" and "ı" is not "i".
QChar foldedChar(QChar c)
{
    if (c.unicode() == 0x0131 || c.unicode() == 0x017F || c.isSurrogate())
        return c;
    return c.toUpper();
}

bool sameName(const QString &a, const QString &b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i)
        if (a[i] != b[i] && foldedChar(a[i]) != foldedChar(b[i]))
            return false;
    return true;
}

// Where a key stands: the index of its section header and of its own line.
struct Location
{
    int section = -1;
    int key = -1;
    int sectionEnd = -1; // one past the section's last line
};

Location locate(const Document &doc, const QString &section, const QString &key)
{
    Location loc;
    const std::vector<Line> &lines = doc.lines;
    for (int i = 0; i < int(lines.size()); ++i) {
        Parsed p = parseLine(lines[i].text);
        if (loc.section < 0) {
            if (p.kind == Kind::Section && sameName(p.name, section))
                loc.section = i;
            continue;
        }
        if (p.kind == Kind::Section) {
            loc.sectionEnd = i;
            return loc;
        }
        if (loc.key < 0 && p.kind == Kind::Key && sameName(p.name, key))
            loc.key = i;
    }
    if (loc.section >= 0)
        loc.sectionEnd = int(lines.size());
    return loc;
}

} // namespace

QString CleanIniValue(const QString &raw, IniEncoding encoding, bool byteOrderMark)
{
    const QString v = cutAtNul(trimBlanks(raw));
    const bool quoted = v.size() >= 2 &&
                        (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
                        v.back() == v.front();
    const int limit = IniFile::MaxValueLength;
    // Without a mark the platform reads the file's bytes, so the limit
    // counts bytes; the cut then goes back to the last whole character.
    if (encoding == IniEncoding::Utf8 && !byteOrderMark) {
        QByteArray bytes = v.toUtf8();
        const bool cut = bytes.size() > limit;
        if (cut) {
            qsizetype end = limit;
            while (end > 0 && (uchar(bytes[end]) & 0xC0) == 0x80)
                --end;
            bytes.truncate(end);
        }
        if (quoted)
            bytes = bytes.mid(1, bytes.size() - (cut ? 1 : 2));
        return QString::fromUtf8(bytes);
    }
    QString out = v.left(limit);
    if (quoted)
        out = out.mid(1, out.size() - (out.size() == v.size() ? 2 : 1));
    return out;
}

namespace {

QString preferredEol(const std::vector<Line> &lines)
{
    for (const Line &l : lines)
        if (!l.eol.isEmpty())
            return l.eol;
    return QStringLiteral("\r\n");
}

bool isBlankLine(const QString &text)
{
    return trimBlanks(text).isEmpty();
}

} // namespace

QString IniNameKey(const QString &name)
{
    QString key = name;
    for (QChar &c : key) {
        c = foldedChar(c);
        if (c >= QLatin1Char('A') && c <= QLatin1Char('Z'))
            c = c.toLower();
    }
    return key;
}

bool ParseIniInteger(const QByteArray &raw, int &out)
{
    QByteArray t = raw;
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        negative = t[i++] == '-';
    int base = 10;
    if (i < t.size() && t[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < t.size() && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= t.size())
        return false;
    quint64 v = 0;
    for (; i < t.size(); ++i) {
        char c = t[i];
        int d;
        if (c >= '0' && c <= '9')
            d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f')
            d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F')
            d = c - 'A' + 10;
        else
            return false;
        v = v * base + d;
        if (v > 0xFFFFFFFFull)
            return false;
    }
    qint64 result;
    if (base == 16) {
        // Eight hex digits are a 32-bit pattern: $FFFFFFFF is -1.
        result = qint32(quint32(v));
    } else {
        result = qint64(v);
        if (negative ? result > 2147483648LL : result > 2147483647LL)
            return false;
    }
    out = int(negative ? -result : result);
    return true;
}

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

QString IniFile::readString(const QString &section, const QString &key, const QString &def) const
{
    QString fallback = def;
    while (fallback.endsWith(QLatin1Char(' ')))
        fallback.chop(1);
    std::optional<Document> doc = readDocument(m_path);
    if (!doc)
        return fallback;
    Location loc = locate(*doc, trimSpaces(section), trimSpaces(key));
    if (loc.key < 0)
        return fallback;
    Parsed p = parseLine(doc->lines[loc.key].text);
    return p.bare ? fallback : CleanIniValue(p.value, doc->form.encoding, doc->form.markSize > 0);
}

QHash<QString, QString> IniFile::readSection(const QString &section) const
{
    QHash<QString, QString> values;
    std::optional<Document> doc = readDocument(m_path);
    if (!doc)
        return values;
    const QString wanted = trimSpaces(section);
    QSet<QString> seen; // bare keys have no value but still hide later ones
    bool inside = false;
    for (const Line &line : doc->lines) {
        Parsed p = parseLine(line.text);
        if (p.kind == Kind::Section) {
            if (inside)
                break; // only the first of duplicate sections counts
            inside = sameName(p.name, wanted);
        } else if (inside && p.kind == Kind::Key) {
            const QString key = IniNameKey(p.name);
            if (seen.contains(key))
                continue;
            seen.insert(key);
            if (!p.bare)
                values.insert(key,
                              CleanIniValue(p.value, doc->form.encoding, doc->form.markSize > 0));
        }
    }
    return values;
}

int IniFile::readInteger(const QString &section, const QString &key, int def) const
{
    int v = def;
    if (!ParseIniInteger(readString(section, key, QString()).toUtf8(), v))
        return def;
    return v;
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) const
{
    Document doc;
    if (QFileInfo::exists(m_path)) {
        std::optional<Document> existing = readDocument(m_path);
        if (!existing)
            throw IniWriteError(QFileInfo(m_path).absoluteFilePath());
        doc = std::move(*existing);
    }
    const QString sec = trimSpaces(section);
    const QString k = trimSpaces(key);
    std::vector<Line> &lines = doc.lines;
    const QString eol = preferredEol(lines);
    Location loc = locate(doc, sec, k);

    if (loc.key >= 0) {
        // Keep the key as the file spells it; only the value changes. A key
        // line without '=' is filled in.
        Parsed p = parseLine(lines[loc.key].text);
        lines[loc.key].set(p.name + QLatin1Char('=') + value, lines[loc.key].eol);
    } else if (loc.section >= 0) {
        // After the section's last key: blank lines and comments that lead
        // into the next section stay where they are.
        int after = loc.section;
        for (int i = loc.section + 1; i < loc.sectionEnd; ++i)
            if (parseLine(lines[i].text).kind == Kind::Key)
                after = i;
        if (lines[after].eol.isEmpty())
            lines[after].set(lines[after].text, eol);
        lines.insert(lines.begin() + after + 1, Line{k + QLatin1Char('=') + value, eol, {}});
    } else {
        if (!lines.empty()) {
            if (lines.back().eol.isEmpty())
                lines.back().set(lines.back().text, eol);
            if (!isBlankLine(lines.back().text))
                lines.push_back({{}, eol, {}});
        }
        lines.push_back({QLatin1Char('[') + sec + QLatin1Char(']'), eol, {}});
        lines.push_back({k + QLatin1Char('=') + value, eol, {}});
    }

    const QByteArray out = serialise(doc);
    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw IniWriteError(QFileInfo(m_path).absoluteFilePath());
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) const
{
    writeString(section, key, QString::number(value));
}
