#include "tools/skingen/skinfile.h"

#include <QFile>

Record &Record::set(int field, const QString &value)
{
    while (m_fields.size() < field)
        m_fields.append(QString());
    m_fields[field - 1] = value;
    return *this;
}

QString Record::text() const
{
    QString out;
    for (const QString &f : m_fields)
        out += f + QLatin1Char(',');
    return out;
}

void SkinFile::section(const QString &name)
{
    m_sections.append({name, {}});
}

void SkinFile::add(const QString &key, const QString &value)
{
    m_sections.last().second.append({key, value});
}

bool SkinFile::write(const QString &path) const
{
    QByteArray out = "; The default skin, drawn by the build. Each record places and dresses\r\n"
                     "; one control; see the program's documentation for the fields.\r\n";
    for (const auto &[name, keys] : m_sections) {
        out += "\r\n[" + name.toUtf8() + "]\r\n";
        for (const auto &[key, value] : keys)
            out += key.toUtf8() + '=' + value.toUtf8() + "\r\n";
    }
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(out) == out.size();
}
