#include "platform/inifile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <optional>
#include <vector>

IniWriteError::IniWriteError(const QString &path)
    : std::runtime_error(QStringLiteral("Unable to write to %1").arg(path).toStdString())
{}

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v';
}

QByteArray trimBlanks(QByteArray s)
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
QByteArray trimSpaces(const QString &name)
{
    QByteArray s = name.toUtf8();
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == ' ')
        ++b;
    while (e > b && s[e - 1] == ' ')
        --e;
    return s.mid(b, e - b);
}

bool sameName(const QByteArray &a, const QByteArray &b)
{
    return a.size() == b.size() && qstrnicmp(a.constData(), b.constData(), a.size()) == 0;
}

// One physical line of the file, its terminator kept apart so that a rewrite
// can reproduce the file byte for byte.
struct Line
{
    QByteArray text;
    QByteArray eol;
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

Parsed parseLine(const QByteArray &text)
{
    Parsed p;
    qsizetype i = 0;
    while (i < text.size() && (isBlank(text[i]) || text[i] == '\r'))
        ++i;
    if (i >= text.size() || text[i] == ';')
        return p;
    if (text[i] == '[') {
        qsizetype close = text.indexOf(']', i + 1);
        qsizetype end = close < 0 ? text.size() : close;
        p.kind = Kind::Section;
        p.name = trimBlanks(text.mid(i + 1, end - i - 1));
        return p;
    }
    qsizetype eq = text.indexOf('=', i);
    p.kind = Kind::Key;
    if (eq < 0) {
        p.name = trimBlanks(text.mid(i));
    } else {
        p.name = trimBlanks(text.mid(i, eq - i));
        p.value = text.mid(eq + 1);
    }
    return p;
}

std::vector<Line> splitLines(const QByteArray &data)
{
    std::vector<Line> lines;
    qsizetype pos = 0;
    while (pos < data.size()) {
        qsizetype nl = data.indexOf('\n', pos);
        if (nl < 0) {
            lines.push_back({data.mid(pos), {}});
            break;
        }
        qsizetype textEnd = (nl > pos && data[nl - 1] == '\r') ? nl - 1 : nl;
        lines.push_back({data.mid(pos, textEnd - pos), data.mid(textEnd, nl + 1 - textEnd)});
        pos = nl + 1;
    }
    return lines;
}

std::optional<QByteArray> readAll(const QString &path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    return f.readAll();
}

// Where a key stands: the index of its section header and of its own line.
struct Location
{
    int section = -1;
    int key = -1;
    int sectionEnd = -1; // one past the section's last line
};

Location locate(const std::vector<Line> &lines, const QByteArray &section, const QByteArray &key)
{
    Location loc;
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

QByteArray cleanValue(QByteArray v)
{
    v = trimBlanks(v);
    if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    if (v.size() > IniFile::MaxValueLength) {
        v.truncate(IniFile::MaxValueLength);
        // Do not leave half of a multi-byte character at the end.
        qsizetype cut = v.size();
        while (cut > 0 && (uchar(v[cut - 1]) & 0xC0) == 0x80)
            --cut;
        if (cut > 0 && uchar(v[cut - 1]) >= 0xC0) {
            int need = uchar(v[cut - 1]) >= 0xF0 ? 4 : uchar(v[cut - 1]) >= 0xE0 ? 3 : 2;
            if (v.size() - (cut - 1) < need)
                v.truncate(cut - 1);
        }
    }
    return v;
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
    return trimBlanks(text).trimmed().isEmpty();
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
    std::optional<QByteArray> data = readAll(m_path);
    if (!data)
        return fallback;
    std::vector<Line> lines = splitLines(*data);
    Location loc = locate(lines, trimSpaces(section), trimSpaces(key));
    if (loc.key < 0)
        return fallback;
    return QString::fromUtf8(cleanValue(parseLine(lines[loc.key].text).value));
}

QHash<QString, QString> IniFile::readSection(const QString &section) const
{
    QHash<QString, QString> values;
    std::optional<QByteArray> data = readAll(m_path);
    if (!data)
        return values;
    const QByteArray wanted = trimSpaces(section);
    bool inside = false;
    for (const Line &line : splitLines(*data)) {
        Parsed p = parseLine(line.text);
        if (p.kind == Kind::Section) {
            if (inside)
                break; // only the first of duplicate sections counts
            inside = sameName(p.name, wanted);
        } else if (inside && p.kind == Kind::Key) {
            QString key = QString::fromUtf8(p.name).toLower();
            if (!values.contains(key))
                values.insert(key, QString::fromUtf8(cleanValue(p.value)));
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
    QByteArray data;
    if (QFileInfo::exists(m_path)) {
        std::optional<QByteArray> existing = readAll(m_path);
        if (!existing)
            throw IniWriteError(QFileInfo(m_path).absoluteFilePath());
        data = *existing;
    }
    std::vector<Line> lines = splitLines(data);
    const QByteArray sec = trimSpaces(section);
    const QByteArray k = trimSpaces(key);
    const QByteArray eol = preferredEol(lines);
    Location loc = locate(lines, sec, k);

    if (loc.key >= 0) {
        // Keep the key as the file spells it; only the value changes.
        Parsed p = parseLine(lines[loc.key].text);
        lines[loc.key].text = p.name + '=' + value.toUtf8();
    } else if (loc.section >= 0) {
        // After the section's last key: blank lines and comments that lead
        // into the next section stay where they are.
        int after = loc.section;
        for (int i = loc.section + 1; i < loc.sectionEnd; ++i)
            if (parseLine(lines[i].text).kind == Kind::Key)
                after = i;
        if (lines[after].eol.isEmpty())
            lines[after].eol = eol;
        lines.insert(lines.begin() + after + 1, Line{k + '=' + value.toUtf8(), eol});
    } else {
        if (!lines.empty()) {
            if (lines.back().eol.isEmpty())
                lines.back().eol = eol;
            if (!isBlankLine(lines.back().text))
                lines.push_back({{}, eol});
        }
        lines.push_back({'[' + sec + ']', eol});
        lines.push_back({k + '=' + value.toUtf8(), eol});
    }

    QByteArray out;
    out.reserve(data.size() + k.size() + value.size() + 16);
    for (const Line &l : lines)
        out += l.text + l.eol;

    QSaveFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(out) != out.size() || !file.commit())
        throw IniWriteError(QFileInfo(m_path).absoluteFilePath());
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) const
{
    writeString(section, key, QString::number(value));
}
