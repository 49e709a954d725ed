#include "tests/support/testhome.h"

#include <QFile>

void UseTestHome(const QString &folder)
{
    qputenv("HOME", QFile::encodeName(folder));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(folder + QStringLiteral("/.config")));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(folder));
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}
