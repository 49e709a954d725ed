// One batch of conversions from its start to its end, without any window:
// which clip runs, whether Stop was asked for, what completed and what
// failed and why, and what the end of the batch does. The progress window
// shows it and forwards its buttons; zelo-convert prints it.
#pragma once

#include "encoder/clipprepare.h"
#include "platform/messagetarget.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <optional>

// What a batch needs from its owner: the clips, in order, and the profile.
class BatchSource
{
public:
    virtual ~BatchSource() = default;
    virtual int clipCount() const = 0;
    // The clip at index; nothing past the last one.
    virtual std::optional<ClipToConvert> clipAt(int index) const = 0;
    // Writes the chosen profile's fields into MyConvertDef. False, after the
    // owner's own words to the user, when there is no usable profile.
    virtual bool applyProfile() = 0;
    // Extension, keep-ratio and frame size as the applied profile set them;
    // the folder is the batch's own.
    virtual OutputTarget outputTarget() const = 0;
};

class BatchRun : public QObject
{
    Q_OBJECT

public:
    explicit BatchRun(BatchSource *source, QObject *parent = nullptr);
    ~BatchRun() override;

    // Where the engine posts its end messages for this batch.
    MessageTarget *messageTarget() { return &m_target; }

    // The folder the next batch writes to (a separator is added).
    void setOutputFolder(const QString &folder);
    QString outputFolder() const { return m_folder; }

    // Back to clip 0 of the source's current clip count, 0 %.
    void reset();
    // Makes sure of the output folder, registers the engine's callbacks,
    // applies the profile and starts the first clip. False when the batch
    // did not start (a signal or the source has said why).
    bool start();
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
    int completed() const { return m_completed; }

    // The engine's callbacks (the engine's thread): lines go to the batch
    // that registered them last, in order, on its own thread.
    static int OnStatusLine(const char *text);
    static int OnPercent(intptr_t value);

signals:
    // Back at clip 0 with nothing shown yet.
    void batchReset();
    void outputFolderFellBack(const QString &folder);
    void outputFolderRefused();
    void noClipToConvert();
    void runningChanged(bool running);
    // MyConvertDef holds the clip about to be handed to the engine.
    void clipStarted(int index);
    void progressed(int clipPercent, int batchPercent);
    void positionReached(int second);
    // The engine wrote the clip's output under another name than asked.
    void outputRenamed(const QString &path);
    void clipCompleted(const QString &input, const QString &output);
    void clipFailed(const QString &input, const QString &reason);
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
    QString m_folder;
    bool b_StopRequested = false;
    bool b_Converting = false;
    int m_current = 0;
    int m_clipCount = 0;
    int m_clipStart = 0;
    int m_clipDuration = 0;
    QString m_lastError;
    QString m_output;
    QStringList m_failures;
    int m_completed = 0;
};
