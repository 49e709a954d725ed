#pragma once

#include <QList>
#include <QPair>
#include <QString>

// One skin record: fields numbered from 1, each followed by its comma, so
// a record that gives fields 1 to n holds exactly n commas.
class Record
{
public:
    Record &set(int field, const QString &value);
    Record &set(int field, int value) { return set(field, QString::number(value)); }
    QString text() const;

private:
    QList<QString> m_fields;
};

// Skin.ini as written: sections and keys in the order they were added.
class SkinFile
{
public:
    void section(const QString &name);
    void add(const QString &key, const QString &value);
    void add(const QString &key, const Record &record) { add(key, record.text()); }
    bool write(const QString &path) const;

private:
    QList<QPair<QString, QList<QPair<QString, QString>>>> m_sections;
};
