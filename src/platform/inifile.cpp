#include "platform/inifile.h"

#include "platform/initext.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <vector>

IniWriteError::IniWriteError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString())
{}

namespace {

// What the platform trims around names and values: blanks, the other ASCII
// white space and the DOS end-of-file mark that old editors leave behind.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1a';
}

QByteArray trimBlanks(const QByteArray &s)
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
// can reproduce the file byte for byte.
struct Line
{
    QByteArray text;
    QByteArray eol;
};

// The file as read: its lines in the file's own encoding, and whether it
// started with a UTF-8 byte-order mark (kept when the file is written back).
struct Document
{
    bool bom = false;
    IniEncoding encoding = IniEncoding::Utf8;
    std::vector<Line> lines;

    QString decode(const QByteArray &bytes) const { return DecodeIniBytes(bytes, encoding); }
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
    QByteArray name;  // section or key name
    QByteArray value; // raw text after '=', for keys
};

// A section name runs to the last ']' of its line; a '[' line without one is
// no header at all, so the keys after it stay in the section before. A line
// without '=' is no key (a lookup of its text gives the default).
Parsed parseLine(const QByteArray &text)
{
    Parsed p;
    qsizetype i = 0;
    while (i < text.size() && isBlank(text[i]))
        ++i;
    if (i >= text.size() || text[i] == ';')
        return p;
    if (text[i] == '[') {
        qsizetype close = text.lastIndexOf(']');
        if (close > i) {
            p.kind = Kind::Section;
            p.name = trimBlanks(text.mid(i + 1, close - i - 1));
        }
        return p;
    }
    qsizetype eq = text.indexOf('=', i);
    if (eq < 0)
        return p;
    p.kind = Kind::Key;
    p.name = trimBlanks(text.mid(i, eq - i));
    p.value = text.mid(eq + 1);
    return p;
}

// "\r\n", "\n" and a lone "\r" all end a line.
std::vector<Line> splitLines(const QByteArray &data, qsizetype from)
{
    std::vector<Line> lines;
    qsizetype pos = from;
    while (pos < data.size()) {
        qsizetype end = pos;
        while (end < data.size() && data[end] != '\r' && data[end] != '\n')
            ++end;
        if (end == data.size()) {
            lines.push_back({data.mid(pos), {}});
            break;
        }
        qsizetype next = end + 1;
        if (data[end] == '\r' && next < data.size() && data[next] == '\n')
            ++next;
        lines.push_back({data.mid(pos, end - pos), data.mid(end, next - end)});
        pos = next;
    }
    return lines;
}

Document parseDocument(const QByteArray &data)
{
    Document doc;
    doc.bom = data.startsWith("\xEF\xBB\xBF");
    const qsizetype from = doc.bom ? 3 : 0;
    doc.encoding = doc.bom ? IniEncoding::Utf8 : DetectIniEncoding(data);
    doc.lines = splitLines(data, from);
    return doc;
}

QByteArray serialise(const Document &doc)
{
    QByteArray out;
    if (doc.bom)
        out += "\xEF\xBB\xBF";
    for (const Line &l : doc.lines)
        out += l.text + l.eol;
    return out;
}

// A Windows-1252 file that must take a character it has no code for becomes
// UTF-8 as a whole: the text of every line stays, only its bytes change.
void convertToUtf8(Document &doc)
{
    for (Line &l : doc.lines)
        l.text = doc.decode(l.text).toUtf8();
    doc.encoding = IniEncoding::Utf8;
}

std::optional<QByteArray> readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

std::optional<Document> readDocument(const QString &path)
{
    std::optional<QByteArray> data = readAll(path);
    if (!data)
        return std::nullopt;
    return parseDocument(*data);
}

bool sameName(const Document &doc, const QByteArray &inFile, const QString &wanted)
{
    return doc.decode(inFile).compare(wanted, Qt::CaseInsensitive) == 0;
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
            if (p.kind == Kind::Section && sameName(doc, p.name, section))
                loc.section = i;
            continue;
        }
        if (p.kind == Kind::Section) {
            loc.sectionEnd = i;
            return loc;
        }
        if (loc.key < 0 && p.kind == Kind::Key && sameName(doc, p.name, key))
            loc.key = i;
    }
    if (loc.section >= 0)
        loc.sectionEnd = int(lines.size());
    return loc;
}

QString cleanValue(const Document &doc, const QByteArray &raw)
{
    QByteArray v = trimBlanks(raw);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.size() > IniFile::MaxValueLength) {
        v.truncate(IniFile::MaxValueLength);
        // Do not leave half of a multi-byte character at the end.
        qsizetype cut = v.size();
        while (doc.encoding == IniEncoding::Utf8 && cut > 0 && (uchar(v[cut - 1]) & 0xC0) == 0x80)
            --cut;
        if (doc.encoding == IniEncoding::Utf8 && cut > 0 && uchar(v[cut - 1]) >= 0xC0) {
            int need = uchar(v[cut - 1]) >= 0xF0 ? 4 : uchar(v[cut - 1]) >= 0xE0 ? 3 : 2;
            if (v.size() - (cut - 1) < need)
                v.truncate(cut - 1);
        }
    }
    return doc.decode(v);
}

QByteArray preferredEol(const std::vector<Line> &lines)
{
    for (const Line &l : lines)
        if (!l.eol.isEmpty())
            return l.eol;
    return "\r\n";
}

bool isBlankLine(const QByteArray &text)
{
    return trimBlanks(text).isEmpty();
}

} // namespace

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
    return cleanValue(*doc, parseLine(doc->lines[loc.key].text).value);
}

QHash<QString, QString> IniFile::readSection(const QString &section) const
{
    QHash<QString, QString> values;
    std::optional<Document> doc = readDocument(m_path);
    if (!doc)
        return values;
    const QString wanted = trimSpaces(section);
    bool inside = false;
    for (const Line &line : doc->lines) {
        Parsed p = parseLine(line.text);
        if (p.kind == Kind::Section) {
            if (inside)
                break; // only the first of duplicate sections counts
            inside = sameName(*doc, p.name, wanted);
        } else if (inside && p.kind == Kind::Key) {
            QString key = doc->decode(p.name).toLower();
            if (!values.contains(key))
                values.insert(key, cleanValue(*doc, p.value));
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
    QByteArray secBytes, keyBytes, valueBytes;
    auto encodeAll = [&] {
        return EncodeIniText(sec, doc.encoding, secBytes) &&
               EncodeIniText(k, doc.encoding, keyBytes) &&
               EncodeIniText(value, doc.encoding, valueBytes);
    };
    if (!encodeAll()) {
        convertToUtf8(doc);
        encodeAll();
    }
    std::vector<Line> &lines = doc.lines;
    const QByteArray eol = preferredEol(lines);
    Location loc = locate(doc, sec, k);

    if (loc.key >= 0) {
        // Keep the key as the file spells it; only the value changes.
        Parsed p = parseLine(lines[loc.key].text);
        lines[loc.key].text = p.name + '=' + valueBytes;
    } else if (loc.section >= 0) {
        // After the section's last key: blank lines and comments that lead
        // into the next section stay where they are.
        int after = loc.section;
        for (int i = loc.section + 1; i < loc.sectionEnd; ++i)
            if (parseLine(lines[i].text).kind == Kind::Key)
                after = i;
        if (lines[after].eol.isEmpty())
            lines[after].eol = eol;
        lines.insert(lines.begin() + after + 1, Line{keyBytes + '=' + valueBytes, eol});
    } else {
        if (!lines.empty()) {
            if (lines.back().eol.isEmpty())
                lines.back().eol = eol;
            if (!isBlankLine(lines.back().text))
                lines.push_back({{}, eol});
        }
        lines.push_back({'[' + secBytes + ']', eol});
        lines.push_back({keyBytes + '=' + valueBytes, eol});
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
