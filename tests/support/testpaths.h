#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>
#include <ostream>

// Where the build put the things the tests load.
QString BuildBinDir();                      // the program folder
QString FakeEngineDir(const char *variant); // a folder holding one fake libEncoder.so
// A clip the engine tests' fixture step made (tests that use it require that
// step: every test here does).
QString MediaFile(const char *name);
// Copies the default skin the build drew into programFolder + "Skin/".
bool InstallDefaultSkin(const QString &programFolder);

inline QByteArray ReadFileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline bool WriteFileBytes(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// Readable texts in test failures.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
inline void PrintTo(const QStringList &list, std::ostream *os)
{
    *os << '{';
    for (const QString &text : list)
        *os << ' ' << '"' << text.toStdString() << '"';
    *os << " }";
}
