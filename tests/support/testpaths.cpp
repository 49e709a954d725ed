#include "tests/support/testpaths.h"

#include <QDir>

QString BuildBinDir()
{
    return QStringLiteral(ZELO_TEST_BIN_DIR);
}

QString FakeEngineDir(const char *variant)
{
    return QStringLiteral(ZELO_TEST_FAKES_DIR "/") + QLatin1String(variant);
}

QString MediaFile(const char *name)
{
    return QStringLiteral(ZELO_TEST_MEDIA_DIR "/") + QLatin1String(name);
}

bool InstallDefaultSkin(const QString &programFolder)
{
    const QDir from(BuildBinDir() + QStringLiteral("/Skin"));
    const QString to = programFolder + QStringLiteral("/Skin/");
    if (!QDir().mkpath(to) || !from.exists(QStringLiteral("Skin.ini")))
        return false;
    for (const QString &name : from.entryList(QDir::Files)) {
        QFile::remove(to + name);
        if (!QFile::copy(from.filePath(name), to + name))
            return false;
    }
    return true;
}
