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

// One physical line of the file, its terminator kept apart so that a rewrite
// can reproduce the file exactly.
struct Line
{
    QString text;
    QString eol;
};

// The file as read: its encoding and byte-order mark (both kept when it is
// written back) and its lines.
struct Document
{
    IniEncoding encoding = IniEncoding::Utf8;
    bool byteOrderMark = false;
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

// A NUL ends the text of its line. A section name runs to the last ']' of
// its line; a '[' line without one is no header, so the keys after it stay
// in the section before. A line without '=' is a key without a value: it
// hides a later key of its name, and a write fills it in.
Parsed parseLine(const QString &line)
{
    Parsed p;
    const QString text = line.left(line.indexOf(QChar(0)));
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i >= text.size() || text[i] == QLatin1Char(';'))
        return p;
    if (text[i] == QLatin1Char('[')) {
        qsizetype close = text.lastIndexOf(QLatin1Char(']'));
        if (close > i) {
            p.kind = Kind::Section;
            p.name = trimBlanks(text.mid(i + 1, close - i - 1));
            return p;
        }
    }
    p.kind = Kind::Key;
    qsizetype eq = text.indexOf(QLatin1Char('='), i);
    if (eq < 0) {
        p.bare = true;
        p.name = trimBlanks(text.mid(i));
        return p;
    }
    p.name = trimBlanks(text.mid(i, eq - i));
    p.value = text.mid(eq + 1);
    return p;
}

// "\r\n", "\n" and a lone "\r" all end a line.
std::vector<Line> splitLines(const QString &data)
{
    std::vector<Line> lines;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype end = pos;
        while (end < data.size() && data[end] != QLatin1Char('\r') &&
               data[end] != QLatin1Char('\n'))
            ++end;
        if (end == data.size()) {
            lines.push_back({data.mid(pos), {}});
            break;
        }
        qsizetype next = end + 1;
        if (data[end] == QLatin1Char('\r') && next < data.size() && data[next] == QLatin1Char('\n'))
            ++next;
        lines.push_back({data.mid(pos, end - pos), data.mid(end, next - end)});
        pos = next;
    }
    return lines;
}

std::optional<Document> readDocument(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    IniText text = DecodeIniFile(f.readAll());
    Document doc;
    doc.encoding = text.encoding;
    doc.byteOrderMark = text.byteOrderMark;
    doc.lines = splitLines(text.text);
    return doc;
}

// A Windows-1252 file that must take a character it has no code for becomes
// UTF-8 as a whole: the text of every line stays, only its bytes change.
QByteArray serialise(const Document &doc)
{
    IniText text{doc.encoding, doc.byteOrderMark, {}};
    for (const Line &l : doc.lines)
        text.text += l.text + l.eol;
    QByteArray out;
    if (!EncodeIniFile(text, out)) {
        text.encoding = IniEncoding::Utf8;
        EncodeIniFile(text, out);
    }
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

// The platform cuts in its own characters (UTF-16 units), whatever the
// file's encoding.
QString cleanValue(const QString &raw)
{
    QString v = trimBlanks(raw);
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    v.truncate(IniFile::MaxValueLength);
    return v;
}

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
    return p.bare ? fallback : cleanValue(p.value);
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
                values.insert(key, cleanValue(p.value));
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
        lines[loc.key].text = p.name + QLatin1Char('=') + value;
    } else if (loc.section >= 0) {
        // After the section's last key: blank lines and comments that lead
        // into the next section stay where they are.
        int after = loc.section;
        for (int i = loc.section + 1; i < loc.sectionEnd; ++i)
            if (parseLine(lines[i].text).kind == Kind::Key)
                after = i;
        if (lines[after].eol.isEmpty())
            lines[after].eol = eol;
        lines.insert(lines.begin() + after + 1, Line{k + QLatin1Char('=') + value, eol});
    } else {
        if (!lines.empty()) {
            if (lines.back().eol.isEmpty())
                lines.back().eol = eol;
            if (!isBlankLine(lines.back().text))
                lines.push_back({{}, eol});
        }
        lines.push_back({QLatin1Char('[') + sec + QLatin1Char(']'), eol});
        lines.push_back({k + QLatin1Char('=') + value, eol});
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
