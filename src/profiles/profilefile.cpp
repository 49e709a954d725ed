#include "profiles/profilefile.h"

#include "app/pubfunction.h"

#include <algorithm>

const QString ProfileFile::NoData = QStringLiteral("NoData");

ProfileFile::ProfileFile(const QString &path) : m_ini(path) {}

ProfileFile ProfileFile::standard()
{
    return ProfileFile(path_Config + QStringLiteral("Output.dll"));
}

namespace {
// The non-empty values of keyword0 .. keyword<count-1>, from one reading of
// the section. A count far beyond the entries present (a hand-edited file)
// costs nothing: the walk stops after the highest numbered key there is.
QStringList numberedValues(const QHash<QString, QString> &section, const QString &keyword,
                           int count)
{
    const QString prefix = keyword.toLower();
    int highest = -1;
    for (auto it = section.cbegin(); it != section.cend(); ++it) {
        if (!it.key().startsWith(prefix))
            continue;
        bool ok = false;
        int n = it.key().mid(prefix.size()).toInt(&ok);
        if (ok && n > highest && it.key() == prefix + QString::number(n))
            highest = n;
    }
    QStringList values;
    const int last = std::min(count - 1, highest);
    for (int i = 0; i <= last; ++i) {
        QString v = section.value(prefix + QString::number(i), ProfileFile::NoData);
        if (v != ProfileFile::NoData)
            values << v;
    }
    return values;
}
} // namespace

QStringList ProfileFile::readProfileLines(const QString &section) const
{
    return numberedValues(m_ini.readSection(section), QStringLiteral("Profile"),
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
    m_ini.writeString(section, QStringLiteral("Profile%1").arg(i), line);
    if (i == readProfileCount(section))
        m_ini.writeInteger(section, QStringLiteral("ProfileCount"), i + 1);
}
