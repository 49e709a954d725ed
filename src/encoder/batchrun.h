// One batch of conversions from its start to its end, without any window:
// which clip runs, whether Stop was asked for, what completed and what
// failed and why, and what the end of the batch does. The progress window
// shows it and forwards its buttons; zelo-convert prints it.
#pragma once

#include "encoder/clipprepare.h"
#include "platform/messagetarget.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// What a batch needs from its owner: the clips, in order, with the profile.
class BatchSource
{
public:
    virtual ~BatchSource() = default;
    // One job per clip as the clips stand now, in order, each with the
    // chosen profile's values and writing into folder. Nothing, after the
    // owner's own words to the user, when there is no usable profile.
    virtual std::optional<QList<ConvertJob>> takeJobs(const QString &folder) = 0;
};

class BatchRun : public QObject
{
    Q_OBJECT

public:
    explicit BatchRun(BatchSource *source = nullptr, QObject *parent = nullptr);
    ~BatchRun() override;

    // Who the next batch takes its jobs from.
    void setSource(BatchSource *source) { m_source = source; }
    BatchSource *source() const { return m_source; }

    // Where the engine posts its end messages for this batch.
    MessageTarget *messageTarget() { return &m_target; }

    // Back to clip 0, 0 %.
    void reset();
    // Makes sure of the output folder (or falls back to the default one),
    // registers the engine's callbacks, takes the jobs from the source and
    // starts the first. False when the batch did not start (a signal or the
    // source has said why).
    bool start(const QString &folder);
    // Asks the engine to stop; the batch ends with the engine's end message.
    void stop();

    // The engine has ended the current clip (the end message's wParam).
    // Starts the next clip or ends the batch; ignored outside a batch.
    void convertDone(int result);
    // One status line of the running clip, on this object's thread.
    void statusLine(const QString &line);

    bool converting() const { return b_Converting; }
    bool stopRequested() const { return b_StopRequested; }
    int currentClip() const { return m_current; }
    int clipCount() const { return m_clipCount; }
    // "name: reason" for each clip of the last batch that was not converted.
    const QStringList &failures() const { return m_failures; }
    // "name: warning" for each warning of a clip of the last batch that was
    // converted all the same (its sound became silence, say).
    const QStringList &warnings() const { return m_warnings; }
    int completed() const { return m_completed; }

    // The engine's callbacks (the engine's thread): lines go to the batch
    // that registered them last, in order, on its own thread.
    static int OnStatusLine(const char *text);

signals:
    // Back at clip 0 with nothing shown yet.
    void batchReset();
    void outputFolderFellBack(const QString &folder);
    void outputFolderRefused();
    void noClipToConvert();
    void runningChanged(bool running);
    // The clip at index is handed to the engine now, to be written to output.
    void clipStarted(int index, const QString &input, const QString &output, int startTime,
                     int stopTime);
    void progressed(int clipPercent, int batchPercent);
    void positionReached(int second);
    // The engine wrote the clip's output under another name than asked.
    void outputRenamed(const QString &path);
    void clipCompleted(const QString &input, const QString &output);
    void clipFailed(const QString &input, const QString &reason);
    // The clip being converted will lack something (as the engine says)
    // although it completes.
    void clipWarned(const QString &input, const QString &warning);
    void stoppedByUser();
    // The batch ran to its end; openFolder: something to show in it.
    void finished(const QStringList &failures, bool openFolder);

protected:
    bool event(QEvent *event) override;

private:
    bool prepareClip(int index);
    void runEncoder();
    void clipEnded(int result);
    void finish();
    void setPercent(int clipPercent);

    BatchSource *m_source;
    QtMessageTarget m_target;
    QList<ConvertJob> m_jobs;
    bool b_StopRequested = false;
    bool b_Converting = false;
    int m_current = 0;
    int m_clipCount = 0;
    int m_clipStart = 0;
    int m_clipDuration = 0;
    QString m_lastError;
    QStringList m_clipWarnings; // of the clip being converted
    QString m_output;
    QStringList m_failures;
    QStringList m_warnings;
    int m_completed = 0;
};

// What the end of a batch tells: the clips not converted and why, then the
// clips converted with a warning; empty when there is nothing to tell.
QString BatchEndText(const QStringList &failures, const QStringList &warnings);
