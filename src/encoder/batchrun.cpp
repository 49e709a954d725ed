#include "encoder/batchrun.h"

#include "encoder/commandline.h"
#include "encoder/convertdef.h"
#include "encoder/encoderlib.h"
#include "encoder/statusline.h"
#include "platform/nativepath.h"
#include "platform/pubfunction.h"

#include <algorithm>
#include <mutex>

namespace {
// The engine's status-line callback carries no context, so the batch whose
// run registered it waits here: set when a run starts, cleared when that
// batch goes. The engine's thread reads it under the lock and queues each
// line to the batch's own thread; the engine converts one clip at a time, so
// one batch is all there can be.
std::mutex g_activeLock;
BatchRun *g_active = nullptr;
} // namespace

BatchRun::BatchRun(BatchSource *source, QObject *parent)
    : QObject(parent), m_source(source), m_target(this)
{}

BatchRun::~BatchRun()
{
    m_target.detach();
    std::lock_guard guard(g_activeLock);
    if (g_active == this)
        g_active = nullptr;
}

int BatchRun::OnStatusLine(const char *text)
{
    // Its lines name files in the file system's own bytes.
    const QString line = PathFromNative(text);
    std::lock_guard guard(g_activeLock);
    // Queued with the batch as context: dropped if it is gone by then.
    if (BatchRun *batch = g_active)
        QMetaObject::invokeMethod(
            batch, [batch, line] { batch->statusLine(line); }, Qt::QueuedConnection);
    return 0;
}

bool BatchRun::event(QEvent *event)
{
    if (event->type() != WindowMessageEvent::eventType())
        return QObject::event(event);
    const auto *message = static_cast<WindowMessageEvent *>(event);
    if (message->msg == WM_CONVERT_DONE)
        convertDone(int(message->wParam));
    return true;
}

void BatchRun::reset()
{
    m_current = 0;
    m_clipCount = int(m_jobs.size());
    setPercent(0);
    emit batchReset();
}

void BatchRun::setPercent(int clipPercent)
{
    const int v = std::clamp(clipPercent, 0, 100);
    emit progressed(v, BatchPercent(m_current, v, m_clipCount));
}

bool BatchRun::start(const QString &asked)
{
    QString folder = WithTrailingSeparator(asked);
    if (!MakeOutputFolder(folder)) {
        emit outputFolderRefused();
        return false;
    }
    if (folder != WithTrailingSeparator(asked))
        emit outputFolderFellBack(folder);
    {
        std::lock_guard guard(g_activeLock);
        g_active = this;
    }
    if (DllSetInfoCallBack)
        DllSetInfoCallBack(&BatchRun::OnStatusLine);
    m_jobs.clear();
    reset();
    std::optional<QList<ConvertJob>> jobs = m_source ? m_source->takeJobs(folder) : std::nullopt;
    if (!jobs)
        return false;
    m_jobs = std::move(*jobs);
    m_clipCount = int(m_jobs.size());
    if (!prepareClip(0))
        return false;
    b_StopRequested = false;
    b_Converting = true;
    m_failures.clear();
    m_warnings.clear();
    m_completed = 0;
    emit runningChanged(true);
    runEncoder();
    return true;
}

bool BatchRun::prepareClip(int index)
{
    if (index >= m_jobs.size()) {
        if (index == 0)
            emit noClipToConvert();
        return false;
    }
    // The engine's command line is made here and nowhere else.
    MyConvertDef = JobDef(m_jobs[index]);
    m_current = index;
    return true;
}

void BatchRun::runEncoder()
{
    EncoderArgv vector(EncoderArguments(MyConvertDef));
    // Written before the engine starts: its lines are read against these.
    m_clipStart = MyConvertDef.StartTime;
    m_clipDuration = MyConvertDef.Duration;
    m_output = MyConvertDef.s_Output;
    m_lastError.clear();
    m_clipWarnings.clear();
    emit clipStarted(m_current, MyConvertDef.s_Input, m_output, MyConvertDef.StartTime,
                     MyConvertDef.StopTime);
    if (DllConvert && DllConvert(&m_target, vector.argc(), vector.argv()) == 0)
        return;
    // An engine that refuses to start sends no end message: the batch would
    // wait for it for ever. The clip counts as failed and the batch goes on.
    statusLine(QStringLiteral("error: the engine refused to start"));
    m_target.post(&m_target, WM_CONVERT_DONE, CONVERT_DONE_FAILED, 0);
}

void BatchRun::statusLine(const QString &line)
{
    const StatusLineClass kind = ClassifyStatusLine(line);
    if (kind.kind == StatusLineKind::OutputName) {
        m_output = kind.detail;
        emit outputRenamed(kind.detail);
        return;
    }
    // A warning comes as it happens; it says nothing of the progress.
    if (kind.kind == StatusLineKind::Warning) {
        m_clipWarnings << kind.detail;
        emit clipWarned(MyConvertDef.s_Input, kind.detail);
        return;
    }
    // The engine explains a failure in a line of its own, before it ends.
    if (kind.kind == StatusLineKind::Failure)
        m_lastError = kind.detail;
    const StatusProgress p = ReadStatusLine(line, m_clipStart, m_clipDuration);
    if (!p.apply)
        return;
    setPercent(p.clipPercent);
    emit positionReached(p.currentSecond);
}

void BatchRun::stop()
{
    b_StopRequested = true;
    if (DllStop)
        DllStop();
}

void BatchRun::convertDone(int result)
{
    // An end message outside a batch (a stray or late one) starts nothing.
    if (!b_Converting)
        return;
    clipEnded(result);
    // The stop flag comes first: a stopped batch prepares no other clip.
    if (!b_StopRequested && prepareClip(m_current + 1))
        runEncoder();
    else
        finish();
}

void BatchRun::clipEnded(int result)
{
    const QString input = MyConvertDef.s_Input;
    if (result == CONVERT_DONE_COMPLETE) {
        ++m_completed;
        // The last status line comes a little before the end of the clip.
        emit positionReached(m_clipStart + m_clipDuration);
        for (const QString &warning : m_clipWarnings)
            m_warnings << ShownName(FileNamePart(input)) + QStringLiteral(": ") + warning;
        emit clipCompleted(input, m_output);
        return;
    }
    QString reason;
    if (result == CONVERT_DONE_FAILED)
        reason = m_lastError;
    else if (!b_StopRequested)
        reason = QStringLiteral("stopped"); // not by this program's Stop
    else
        return;
    m_failures << ShownName(FileNamePart(input)) +
                      (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason);
    emit clipFailed(input, reason);
}

void BatchRun::finish()
{
    b_Converting = false;
    emit runningChanged(false);
    if (b_StopRequested) {
        // Nothing to delete: a stopped engine leaves no file, and its output
        // name only ever holds a file someone else wrote there meanwhile.
        emit stoppedByUser();
        return;
    }
    setPercent(100);
    // A failed clip is never passed off as converted; a batch with nothing
    // converted has nothing to show in the folder.
    emit finished(m_failures, m_completed > 0 || m_failures.isEmpty());
}

QString BatchEndText(const QStringList &failures, const QStringList &warnings)
{
    QStringList parts;
    if (!failures.isEmpty())
        parts << QStringLiteral("These clips could not be converted:\n") +
                     failures.join(QLatin1Char('\n'));
    if (!warnings.isEmpty())
        parts << QStringLiteral("These clips were converted with a warning:\n") +
                     warnings.join(QLatin1Char('\n'));
    return parts.join(QStringLiteral("\n\n"));
}
