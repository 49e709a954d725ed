#include "clips/clipadder.h"

#include "clips/cliplist.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QDir>
#include <QThread>

ClipAdder::ClipAdder(ClipList *clips, ReportRefused refused, QObject *parent)
    : QObject(parent), m_clips(clips), m_refused(std::move(refused))
{}

ClipAdder::~ClipAdder()
{
    stopAndWait();
}

QList<QPair<QString, QString>> ClipAdder::dialogFilters()
{
    return {{QStringLiteral("Support Media File"),
             QStringLiteral("*.mpg;*.avi;*.wmv;*.asf;*.divx;*.xvid;*.swf;*.mov;*.vob;*.mp4;*.3gp;"
                            "*.3g2;*.flv;*.webm;*.mkv;*.ts;*.mts;*.m2ts;*.m4v;*.mpeg;*.ogv")},
            {QStringLiteral("All File (*.*)"), QStringLiteral("*.*")}};
}

void ClipAdder::AddFilesClick()
{
    if (m_adding)
        return;
    QList<Shell::FileFilter> filters;
    for (const auto &[title, patterns] : dialogFilters())
        filters.push_back({title, patterns});
    const QStringList files = TheShell().chooseFiles(filters, AddFilesFolder());
    if (files.isEmpty())
        return;
    RememberAddFilesFolder(files.first());
    addFiles(files);
}

void ClipAdder::addFiles(const QStringList &given)
{
    if (m_adding || given.isEmpty() || m_stop)
        return;
    // Dialogs and drops hand over names Qt could not decode with U+FFFD.
    QStringList files;
    for (const QString &file : given)
        files << FaithfulPath(file);
    b_ProbeFailed = false;
    m_refusals.clear();
    if (files.size() == 1) {
        ProbeFile(files.first());
        if (b_ProbeFailed)
            m_refused();
        return;
    }
    if (m_worker.joinable())
        m_worker.join(); // the last worker has finished its loop already
    m_adding = true;
    m_workerDone = false;
    m_worker = std::thread(&ClipAdder::AddFilesWorker, this, files);
}

ProbeResult ClipAdder::probe(const QString &path)
{
    ProbeResult r = ProbeClip(path, SnapshotFile());
    // A clip without a picture is skipped without a word.
    if (r.verdict == ProbeVerdict::Refused) {
        b_ProbeFailed = true;
        m_refusals << RefusalLine(path, r);
    }
    return r;
}

QString RefusalLine(const QString &path, const ProbeResult &probed)
{
    QString why = probed.reason;
    // The notice itself already says "unsupported or damaged"; its details
    // say which of the two.
    if (why == RefusedFilesText || why.isEmpty())
        why = RefusedVideoFormat(probed.clip.videoFormat)
                  ? QStringLiteral("video format \"%1\" is not supported")
                        .arg(probed.clip.videoFormat)
                  : QStringLiteral("cannot be read as a video (damaged, or not a video file)");
    return QDir::toNativeSeparators(path) + QStringLiteral(" : ") + why;
}

void ClipAdder::append(const ProbeResult &probed)
{
    if (probed.verdict == ProbeVerdict::Accepted)
        m_clips->add(probed.clip);
}

void ClipAdder::ProbeFile(const QString &path)
{
    append(probe(path));
}

void ClipAdder::AddFilesWorker(QStringList files)
{
    for (const QString &file : files) {
        if (m_stop)
            break;
        ProbeResult probed = probe(file);
        if (m_stop)
            break;
        // The list belongs to the UI thread: the entry is appended there, and
        // the next file waits until it stands in the list.
        QMetaObject::invokeMethod(
            this, [this, &probed] { append(probed); }, Qt::BlockingQueuedConnection);
    }
    // The add ends on the UI thread, after its notice: a drop that arrives
    // while the notice is up is refused like any drop during an add, and a
    // new add never joins a worker that is still waiting for the UI thread.
    const bool stopped = m_stop;
    QMetaObject::invokeMethod(
        this,
        [this, stopped] {
            if (b_ProbeFailed && !stopped)
                m_refused();
            m_adding = false;
        },
        Qt::BlockingQueuedConnection);
    m_workerDone = true;
}

void ClipAdder::stopAndWait()
{
    m_stop = true;
    if (!m_worker.joinable())
        return;
    // The worker may be waiting for the UI thread to append its entry.
    while (!m_workerDone) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QThread::msleep(2);
    }
    m_worker.join();
}
