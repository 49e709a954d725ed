#include "profiles/profilestore.h"

#include "platform/inifile.h"
#include "platform/pubfunction.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace {
const QString kFileName = QStringLiteral("Output.dll");

// The copy starts as the shipped file byte for byte, so the user keeps every
// shipped profile and comment; written atomically like every profile write.
void makeUserCopy(const QString &shipped, const QString &copy)
{
    QByteArray bytes;
    if (QFileInfo(shipped).isFile()) {
        QFile in(shipped);
        if (!in.open(QIODevice::ReadOnly))
            throw IniWriteError(QFileInfo(copy).absoluteFilePath());
        bytes = in.readAll();
    }
    QSaveFile out(copy);
    if (!QDir().mkpath(QFileInfo(copy).absolutePath()) || !out.open(QIODevice::WriteOnly) ||
        out.write(bytes) != bytes.size() || !out.commit())
        throw IniWriteError(QFileInfo(copy).absoluteFilePath());
}
} // namespace

QString ShippedProfilePath()
{
    return path_Data + kFileName;
}

QString UserProfilePath()
{
    const QString base = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    return base + QStringLiteral("/Zuzudu4/") + kFileName;
}

bool CanReplaceFile(const QString &path)
{
    const QFileInfo file(path);
    if (!QFileInfo(file.absolutePath()).isWritable())
        return false;
    return !file.exists() || file.isWritable();
}

QString ProfileFilePath(ProfileAccess access)
{
    const QString copy = UserProfilePath();
    if (QFileInfo(copy).isFile())
        return copy;
    const QString shipped = ShippedProfilePath();
    if (access == ProfileAccess::Read || (!b_Installed && CanReplaceFile(shipped)))
        return shipped;
    makeUserCopy(shipped, copy);
    return copy;
}
