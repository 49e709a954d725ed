#include "encoder/probe.h"

#include "encoder/encoderlib.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMutex>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

namespace {
QString text(const char *s)
{
    return QString::fromUtf8(s ? s : "");
}

// Why the engine could not read path, when the file system can tell.
QString unreadableReason(const QString &path)
{
    const QByteArray native = NativePath(path);
    struct stat st;
    if (path.isEmpty() || ::lstat(native.constData(), &st) != 0)
        return QStringLiteral("no such file");
    if (::stat(native.constData(), &st) != 0)
        return errno == ELOOP ? QStringLiteral("a loop of symbolic links")
                              : QStringLiteral("a link to nothing");
    if (S_ISDIR(st.st_mode))
        return QStringLiteral("a folder, not a clip");
    if (!S_ISREG(st.st_mode))
        return QStringLiteral("not a regular file (a FIFO, socket or device)");
    return RefusedFilesText;
}

QString ownScratchSuffix()
{
    return QStringLiteral("-%1.pic").arg(qint64(::getpid()));
}
} // namespace

bool RefusedVideoFormat(const QString &videoFormat)
{
    const QString lower = videoFormat.toLower();
    return lower.contains(QLatin1String("rv")) || lower.contains(QLatin1String("unknow"));
}

bool UsableThumbnail(const QString &path)
{
    return FileSizeKB(path) != 0;
}

ProbeResult ProbeClip(const QString &path, const QString &scratch)
{
    ProbeResult r;
    if (!DllGetFileInfo || !DllGetFilePic) {
        r.reason = RefusedFilesText;
        return r;
    }
    ClipInfo info{};
    const QByteArray asked = NativePath(path);
    if (DllGetFileInfo(asked.constData(), &info) != 0) {
        r.reason = unreadableReason(path);
        return r;
    }
    // Copies: the engine's texts live only until its next probe.
    ProbedClip &c = r.clip;
    c.path = info.ClipPath ? PathFromNative(info.ClipPath) : path;
    c.duration = info.Duration;
    c.videoFormat = text(info.VideoFormat);
    c.audioFormat = text(info.AudioFormat);
    c.width = info.VideoWidth;
    c.height = info.VideoHeight;
    if (RefusedVideoFormat(c.videoFormat)) {
        r.reason = RefusedFilesText;
        return r;
    }
    if (scratch.isEmpty()) {
        r.reason = NoScratchFolderText;
        return r;
    }
    const QByteArray source = NativePath(c.path);
    const QByteArray target = NativePath(scratch);
    DllGetFilePic(source.constData(), 5, "80x60", target.constData());
    if (UsableThumbnail(scratch)) {
        QFile f(scratch);
        if (f.open(QIODevice::ReadOnly))
            c.thumbnail = DecodeJpegPixels(f.readAll());
    }
    QFile::remove(scratch);
    // A file of 1 KiB or more that is no picture lists nothing either.
    if (c.thumbnail.isNull()) {
        r.verdict = ProbeVerdict::NoPicture;
        r.reason = NoPictureText;
        return r;
    }
    r.verdict = ProbeVerdict::Accepted;
    return r;
}

bool FolderWritable(const QString &folder)
{
    const QByteArray native = QFile::encodeName(folder);
    return !folder.isEmpty() && QFileInfo(folder).isDir() &&
           ::access(native.constData(), W_OK | X_OK) == 0;
}

QString ChooseScratchFolder(const QString &snapshot, const QString &cache,
                            const std::function<bool(const QString &)> &writable)
{
    if (writable(snapshot))
        return snapshot;
    return WithTrailingSeparator(cache) + QStringLiteral("Snapshot") + PathSeparator;
}

namespace {
// The folders this process has put scratch files in, for the clean-up at
// exit, and its private folder under the temporary folder once made. The
// window probes on a worker thread.
struct ScratchState
{
    QMutex mutex;
    QSet<QString> used;
    QString privateFolder;
};

ScratchState &scratchState()
{
    static ScratchState state;
    return state;
}

// A folder of this process's own under $TMPDIR (else /tmp), made once: for
// a service user without a home or a writable cache folder.
QString privateTempFolder(ScratchState &state)
{
    if (!state.privateFolder.isEmpty() && QFileInfo(state.privateFolder).isDir())
        return state.privateFolder;
    QStringList bases{QStringLiteral("/tmp")};
    if (const QString tmp = qEnvironmentVariable("TMPDIR"); !tmp.isEmpty())
        bases.prepend(tmp);
    for (const QString &base : bases) {
        QByteArray name = QFile::encodeName(WithTrailingSeparator(base)) + "zelo-snapshot-XXXXXX";
        if (::mkdtemp(name.data())) {
            state.privateFolder = WithTrailingSeparator(QFile::decodeName(name));
            return state.privateFolder;
        }
    }
    return {};
}
} // namespace

QString ScratchFolder()
{
    ScratchState &state = scratchState();
    const QMutexLocker lock(&state.mutex);
    if (!path_Snapshot.isEmpty() && !QFileInfo(path_Snapshot).isDir())
        QDir().mkdir(path_Snapshot);
    QString folder = path_Snapshot;
    // Without a home folder (a service user's /nonexistent) nothing is made
    // where it should have been, not even by root.
    if (!FolderWritable(folder) && QFileInfo(QDir::homePath()).isDir()) {
        const QString cache = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
        folder = ChooseScratchFolder(path_Snapshot, cache, FolderWritable);
        QDir().mkpath(folder);
    }
    if (!FolderWritable(folder))
        folder = privateTempFolder(state);
    if (!folder.isEmpty())
        state.used.insert(folder);
    return folder;
}

QString SnapshotFile()
{
    const QString folder = ScratchFolder();
    if (folder.isEmpty())
        return {};
    // "snap0": the name every copy has used, which the others' clearing knows.
    return folder + QStringLiteral("snap0") + ownScratchSuffix();
}

void RemoveOwnScratchFiles()
{
    ScratchState &state = scratchState();
    const QMutexLocker lock(&state.mutex);
    for (const QString &path : std::as_const(state.used)) {
        QDir folder(path);
        for (const QString &name :
             folder.entryList({QStringLiteral("snap*") + ownScratchSuffix()}, QDir::Files))
            folder.remove(name);
        // The program folder's Snapshot/ is part of the program; a cache
        // folder's goes when nobody is using it, the private one always.
        if (path == state.privateFolder)
            QDir(path).removeRecursively();
        else if (path != path_Snapshot)
            QDir().rmdir(path);
    }
    state.used.clear();
    state.privateFolder.clear();
}

qint64 ScratchFileOwner(const QString &fileName)
{
    static const QRegularExpression pattern(QStringLiteral("^snap\\d+-(\\d+)\\.pic$"));
    const QRegularExpressionMatch m = pattern.match(fileName);
    return m.hasMatch() ? m.captured(1).toLongLong() : 0;
}

void ClearSnapshotFolder(const QString &folder)
{
    if (folder.isEmpty())
        return; // no program scratch folder (installed); never the current folder
    QDir dir(folder);
    for (const QFileInfo &entry : dir.entryInfoList(QDir::Files | QDir::Hidden | QDir::System)) {
        const qint64 owner = ScratchFileOwner(entry.fileName());
        // kill(pid, 0) only asks whether the process is there.
        if (owner > 0 && owner != ::getpid() && owner <= INT_MAX &&
            (::kill(pid_t(owner), 0) == 0 || errno == EPERM))
            continue;
        QFile::remove(entry.filePath());
    }
}
