// Probing one file: the single rule by which the window's clip list and
// zelo-convert accept or refuse a clip, and the record a probed clip keeps.
#pragma once

#include "engine/encoder.h"
#include "platform/jpegdecoder.h"

#include <QByteArray>
#include <QString>
#include <functional>

// The words the program uses when files cannot be added.
inline const QString RefusedFilesText =
    QStringLiteral("Unsupported or Damaged video file(s) can not add to list!");
inline const QString NoPictureText = QStringLiteral("no picture can be taken from this clip");
// No folder at all (program, cache or temporary) takes the thumbnail.
inline const QString NoScratchFolderText =
    QStringLiteral("no folder can be written for its thumbnail (the program's Snapshot/, the "
                   "cache folder and $TMPDIR all refuse)");

// The program refuses clips whose video format names RealVideo ("rv") or
// is unknown ("unknow"), compared without regard to case.
bool RefusedVideoFormat(const QString &videoFormat);

// A thumbnail file is usable when it holds at least 1 KiB.
bool UsableThumbnail(const QString &path);

// What the program knows of a clip once it has been probed.
struct ProbedClip
{
    QString path; // as the engine reports it: the conversion's input
    int duration = 0;
    QString videoFormat;
    QString audioFormat;
    int width = 0;
    int height = 0;
    JpegPixels thumbnail; // 80x60
};

enum class ProbeVerdict
{
    Accepted,
    Refused,   // the engine cannot read it, or its video format is refused
    NoPicture, // readable, but no usable thumbnail: the window skips it silently
};

struct ProbeResult
{
    ProbeVerdict verdict = ProbeVerdict::Refused;
    ProbedClip clip; // filled when accepted
    QString reason;  // why not, in the program's words
};

// Probes path with the bound engine, writing the thumbnail through the
// scratch file (removed again before returning). A missing file, a folder
// or a FIFO is refused like any unreadable file, but says so in reason.
ProbeResult ProbeClip(const QString &path, const QString &scratch);

// True when this process may create files in folder (access(2) semantics:
// a read-only mount or a folder owned by another user says no).
bool FolderWritable(const QString &folder);

// The folder thumbnails are written to: the program's snapshot folder when
// there is one and it is writable, otherwise the user's cache folder (an
// installed or read-only program folder).
QString ChooseScratchFolder(const QString &snapshot, const QString &cache,
                            const std::function<bool(const QString &)> &writable);
// The same for this process: path_Snapshot or the cache folder's Snapshot/,
// made when missing; when neither can be written, a private folder of this
// process under $TMPDIR (or /tmp). Empty when no folder can be written.
QString ScratchFolder();

// The scratch file a probe writes its thumbnail to. The name carries the
// process id: several copies of the program may probe at the same time.
// Empty when no folder can be written.
QString SnapshotFile();

// For exit: removes this process's scratch files from every scratch folder
// it used, its private folder, and a cache Snapshot/ folder left empty.
void RemoveOwnScratchFiles();

// Empties the program's snapshot folder at exit, as ClearFolder does, but
// leaves the scratch files of other running copies, which are mid-probe.
// An empty folder (an installed program has none) clears nothing.
void ClearSnapshotFolder(const QString &folder);

// The process a scratch file name belongs to; 0 for any other name.
qint64 ScratchFileOwner(const QString &fileName);
