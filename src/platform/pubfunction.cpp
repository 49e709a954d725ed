#include "platform/pubfunction.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <climits>
#include <filesystem>

QString path_Config;
QString path_Data;
QString path_Skin;
QString path_Snapshot;
bool b_Installed = false;
QString g_s_Version;

namespace {
const QString kAddFolderKey = QStringLiteral("AddFolder");

// One level deep: a folder whose parent is missing is not made, so a mistyped
// path never grows a tree of new folders.
bool existsOrCreate(const QString &folder)
{
    if (folder.isEmpty())
        return false;
    QFileInfo info(folder);
    if (info.isDir())
        return true;
    return QDir().mkdir(folder);
}
} // namespace

QString WithTrailingSeparator(const QString &folder)
{
    if (folder.endsWith(PathSeparator) || folder.endsWith(QLatin1Char('\\')))
        return folder;
    return folder + PathSeparator;
}

QString ProgramFolder()
{
    if (QCoreApplication::instance())
        return WithTrailingSeparator(QCoreApplication::applicationDirPath());
    std::error_code ec;
    auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    if (!ec)
        return WithTrailingSeparator(QString::fromStdString(exe.parent_path().string()));
    return WithTrailingSeparator(QDir::currentPath());
}

QString DefaultOutputFolder()
{
    return WithTrailingSeparator(QDir::homePath()) + QStringLiteral("ZeloOutput") + PathSeparator;
}

QString InstalledDataFolder(const QString &programFolder)
{
    const QString data = QDir::cleanPath(WithTrailingSeparator(programFolder) +
                                         QStringLiteral("../../share/zelo-converter"));
    if (!QFileInfo(data + PathSeparator + QLatin1String(InstalledMarkerName)).isFile())
        return {};
    return WithTrailingSeparator(data);
}

void InitGlobals(const QString &programFolder)
{
    path_Config = WithTrailingSeparator(programFolder);
    const QString installedData = InstalledDataFolder(path_Config);
    b_Installed = !installedData.isEmpty();
    path_Data = b_Installed ? installedData : path_Config;
    path_Skin = path_Data + QStringLiteral("Skin") + PathSeparator;
    // An installed program keeps even root's scratch files out of /usr.
    path_Snapshot =
        b_Installed ? QString() : path_Config + QStringLiteral("Snapshot") + PathSeparator;
    g_s_Version.clear();
}

bool EnsureFolders(Settings &settings)
{
    if (!existsOrCreate(path_Config))
        return false;
    if (!path_Snapshot.isEmpty() && !existsOrCreate(path_Snapshot))
        return false;
    return settings.ensureOutputFolder();
}

bool MakeOutputFolder(QString &folder, bool fallBack)
{
    if (existsOrCreate(folder))
        return true;
    if (!fallBack)
        return false;
    folder = DefaultOutputFolder();
    return existsOrCreate(folder);
}

QString AddFilesFolder(const SettingsStore &store)
{
    if (auto folder = store.readText(kAddFolderKey); folder && QFileInfo(*folder).isDir())
        return *folder;
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    if (!videos.isEmpty() && QFileInfo(videos).isDir())
        return videos;
    return QDir::homePath();
}

void RememberAddFilesFolder(const QString &chosenFile, const SettingsStore &store)
{
    store.write(kAddFolderKey, QFileInfo(chosenFile).absolutePath());
}

void ClearFolder(const QString &folder, bool recurse)
{
    QDir dir(WithTrailingSeparator(folder));
    const QFileInfoList entries = dir.entryInfoList(QDir::Files | QDir::Dirs | QDir::Hidden |
                                                    QDir::System | QDir::NoDotAndDotDot);
    for (const QFileInfo &entry : entries) {
        // A link to a folder is removed as a file: never follow it out of here.
        if (entry.isDir() && !entry.isSymLink()) {
            if (recurse)
                ClearFolder(entry.filePath(), true);
        } else {
            QFile::remove(entry.filePath());
        }
    }
}

QString EngineTimeText(int s)
{
    s = std::max(s, 0);
    auto two = [](int v) { return QStringLiteral("%1").arg(v, 2, 10, QLatin1Char('0')); };
    return two(s / 3600) + QLatin1Char(':') + two(s % 3600 / 60) + QLatin1Char(':') + two(s % 60);
}

QString TimeText(int s)
{
    return EngineTimeText(s > 86400 ? 0 : s);
}

int FileSizeKB(const QString &path)
{
    QFile f(path);
    QFileInfo info(path);
    if (!info.isFile() || !f.open(QIODevice::ReadOnly))
        return 0;
    qint64 kb = f.size() / 1024;
    return kb > INT_MAX ? INT_MAX : int(kb);
}
