#include "encoder/clipadder.h"

#include "app/pubfunction.h"
#include "controls/picture.h"
#include "encoder/encoderlib.h"
#include "encoder/probe.h"
#include "platform/shell.h"

#include <QCoreApplication>
#include <QFile>
#include <QThread>

struct ClipAdder::Probed
{
    bool accepted = false;
    QByteArray path, videoFormat, audioFormat;
    ClipInfo info{};
    QImage thumbnail;
};

ClipAdder::ClipAdder(AppendEntry append, ReportRefused refused, QObject *parent)
    : QObject(parent), m_append(std::move(append)), m_refused(std::move(refused))
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
    if (b_Adding)
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

void ClipAdder::addFiles(const QStringList &files)
{
    if (b_Adding || files.isEmpty() || m_stop)
        return;
    b_ProbeFailed = false;
    if (files.size() == 1) {
        ProbeFile(files.first());
        if (b_ProbeFailed)
            m_refused();
        return;
    }
    if (m_worker.joinable())
        m_worker.join(); // the last worker has finished its loop already
    b_Adding = true;
    m_workerDone = false;
    m_worker = std::thread(&ClipAdder::AddFilesWorker, this, files);
}

ClipAdder::Probed ClipAdder::probe(const QString &path)
{
    Probed p;
    if (!DllGetFileInfo || !DllGetFilePic) {
        b_ProbeFailed = true;
        return p;
    }
    const QString scratch = SnapshotFile(SnapIndex);
    p.path = path.toUtf8();
    if (DllGetFileInfo(p.path.constData(), &p.info) != 0) {
        b_ProbeFailed = true;
        return p;
    }
    // Copies: the engine's texts live only until its next probe.
    p.videoFormat = QByteArray(p.info.VideoFormat ? p.info.VideoFormat : "");
    p.audioFormat = QByteArray(p.info.AudioFormat ? p.info.AudioFormat : "");
    if (p.info.ClipPath)
        p.path = QByteArray(p.info.ClipPath);
    if (RefusedVideoFormat(QString::fromUtf8(p.videoFormat))) {
        b_ProbeFailed = true;
        return p;
    }
    const QByteArray target = scratch.toUtf8();
    DllGetFilePic(p.path.constData(), 5, "80x60", target.constData());
    if (UsableThumbnail(scratch)) {
        QFile f(scratch);
        if (f.open(QIODevice::ReadOnly))
            p.thumbnail = DecodeJpeg(f.readAll());
        p.accepted = !p.thumbnail.isNull();
    }
    QFile::remove(scratch);
    return p;
}

void ClipAdder::append(const Probed &probed)
{
    if (!probed.accepted || !m_append)
        return;
    // The record points at this side's copies of the texts.
    ClipInfo info = probed.info;
    info.ClipPath = probed.path.constData();
    info.VideoFormat = probed.videoFormat.constData();
    info.AudioFormat = probed.audioFormat.constData();
    m_append(info, probed.thumbnail);
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
        Probed probed = probe(file);
        if (m_stop)
            break;
        // The list belongs to the UI thread: the entry is appended there, and
        // the next file waits until it stands in the list.
        QMetaObject::invokeMethod(
            this, [this, &probed] { append(probed); }, Qt::BlockingQueuedConnection);
    }
    b_Adding = false;
    if (b_ProbeFailed && !m_stop)
        QMetaObject::invokeMethod(
            this, [this] { m_refused(); }, Qt::BlockingQueuedConnection);
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
