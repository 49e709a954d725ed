#include "profiles/profilefile.h"

#include "profiles/profilestore.h"

#include <QFileInfo>
#include <algorithm>
#include <limits>

const QString ProfileFile::NoData = QStringLiteral("NoData");

ProfileFile::ProfileFile(const QString &path) : m_ini(path) {}

ProfileFile ProfileFile::standard()
{
    return ProfileFile(ProfileFilePath(ProfileAccess::Read));
}

ProfileFile ProfileFile::forWriting()
{
    return ProfileFile(ProfileFilePath(ProfileAccess::Write));
}

namespace {
// The highest n of the keys keyword<n> present, written as the platform
// writes numbers (no sign, no leading zeros); -1 without any.
int highestNumber(const QHash<QString, QString> &section, const QString &prefix)
{
    int highest = -1;
    for (auto it = section.cbegin(); it != section.cend(); ++it) {
        if (!it.key().startsWith(prefix))
            continue;
        bool ok = false;
        int n = it.key().mid(prefix.size()).toInt(&ok);
        if (ok && n > highest && it.key() == prefix + QString::number(n))
            highest = n;
    }
    return highest;
}

// The non-empty values of keyword0 .. keyword<count-1> with their numbers,
// from one reading of the section. A count far beyond the entries present (a
// hand-edited file) costs nothing: the walk stops after the highest numbered
// key there is; a count of 0 or below lists nothing.
QList<ProfileEntry> numberedEntries(const QHash<QString, QString> &section, const QString &keyword,
                                    int count)
{
    if (count <= 0)
        return {};
    const QString prefix = IniNameKey(keyword);
    const int highest = highestNumber(section, prefix);
    QList<ProfileEntry> entries;
    const int last = std::min(count - 1, highest);
    for (int i = 0; i <= last; ++i) {
        QString v = section.value(prefix + QString::number(i), ProfileFile::NoData);
        if (v != ProfileFile::NoData)
            entries.append({i, v});
    }
    return entries;
}

QStringList numberedValues(const QHash<QString, QString> &section, const QString &keyword,
                           int count)
{
    QStringList values;
    for (const ProfileEntry &e : numberedEntries(section, keyword, count))
        values << e.line;
    return values;
}
} // namespace

QStringList ProfileFile::readProfileLines(const QString &section) const
{
    return numberedValues(m_ini.readSection(section), QStringLiteral("Profile"),
                          readProfileCount(section));
}

QList<ProfileEntry> ProfileFile::readProfileEntries(const QString &section) const
{
    return numberedEntries(m_ini.readSection(section), QStringLiteral("Profile"),
                           readProfileCount(section));
}

QString ProfileFile::readProfileLine(const QString &section, int i) const
{
    return m_ini.readString(section, QStringLiteral("Profile%1").arg(i), NoData);
}

int ProfileFile::readProfileCount(const QString &section) const
{
    return m_ini.readInteger(section, QStringLiteral("ProfileCount"), 0);
}

int NewProfileNumber(int count, int highest)
{
    const qint64 next = std::max<qint64>({0, count, qint64(highest) + 1});
    if (next < std::numeric_limits<int>::max())
        return int(next);
    if (qint64(highest) + 1 < count)
        return highest + 1;
    return -1;
}

int ProfileFile::newProfileNumber(const QString &section) const
{
    const QHash<QString, QString> values = m_ini.readSection(section);
    int count = 0;
    ParseIniInteger(values.value(QStringLiteral("profilecount")).toUtf8(), count);
    return NewProfileNumber(count, highestNumber(values, IniNameKey(QStringLiteral("Profile"))));
}

int ProfileFile::readDefaultIndex(const QString &section) const
{
    return m_ini.readInteger(section, QStringLiteral("DefaultIndex"), 0);
}

OptionList ProfileFile::readOptionList(const QString &section, const QString &keyword) const
{
    OptionList list;
    const int count = m_ini.readInteger(section, keyword + QStringLiteral("Count"), 0);
    list.values = numberedValues(m_ini.readSection(section), keyword, count);
    list.index = m_ini.readInteger(section, keyword + QStringLiteral("Index"), 0);
    return list;
}

QString ProfileFile::readDefaultName(const QString &section) const
{
    return m_ini.readString(section, QStringLiteral("DefaultName"), QStringLiteral("DefaultName"));
}

QString ProfileFile::readDefaultBitRate(const QString &section) const
{
    return m_ini.readString(section, QStringLiteral("DefaultBitRate"), QStringLiteral("200"));
}

void ProfileFile::writeProfile(const QString &section, int i, const QString &line) const
{
    if (i < 0 || i == std::numeric_limits<int>::max())
        throw IniWriteError(QFileInfo(path()).absoluteFilePath());
    m_ini.writeString(section, QStringLiteral("Profile%1").arg(i), line);
    if (i >= readProfileCount(section))
        m_ini.writeInteger(section, QStringLiteral("ProfileCount"), i + 1);
}
