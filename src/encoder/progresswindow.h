#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QLineEdit;
class TDynamicImageButton;
class TImage;
class TWindowFrame;

// What the batch needs of the main window: the clip list, the chosen
// profile, and the engine.
class BatchHost
{
public:
    virtual ~BatchHost() = default;
    virtual int batchClipCount() const = 0;
    virtual bool ApplySelectedProfile() = 0;
    // Fills the command line for the clip at index; false when there is none.
    virtual bool PrepareClip(int index) = 0;
    virtual void RunEncoder() = 0;
    virtual int currentClip() const = 0;
    virtual void setCurrentClip(int index) = 0;
};

// The window a batch runs in: the clip being converted, its times, a bar
// for the clip and one for the whole batch, the output folder, and the
// Start, Stop, Close and Browse buttons. Shown modally by the convert button.
class TProgressWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TProgressWindow(BatchHost *host, QWidget *parent = nullptr);
    ~TProgressWindow() override;

    // Shows the window and returns when it has been closed.
    void ShowModal();

    void ResetDisplay();
    void ShowClip();
    void SetPercent(int v);
    void ParseStatusLine(const QString &text);
    void FinishBatch();
    // The engine has ended the current clip with this result.
    void ClipEnded(int result);

    void StartClick();
    void StopClick();
    void CloseClick();
    void BrowseClick();

    // The engine's callbacks; called on the engine's thread.
    static int OnStatusLine(const char *text);
    static int OnPercent(intptr_t value);

    bool b_StopRequested = false;
    bool b_Converting = false;
    int ClipStart = 0;
    int ClipDuration = 0;
    int ClipCount = 0;

    // Clips of the last batch the engine could not convert: "name: reason".
    const QStringList &failures() const { return m_failures; }

    // Skinned components, named after their skin keys.
    TImage *Img_Background = nullptr;
    TImage *Img_Progress = nullptr;
    TImage *Img_CP = nullptr;
    TImage *Img_TP = nullptr;
    TDynamicImageButton *TB_Start = nullptr;
    TDynamicImageButton *TB_Stop = nullptr;
    TDynamicImageButton *TB_Close = nullptr;
    TDynamicImageButton *TB_Browse = nullptr;

    QLabel *Label_SrcName = nullptr;
    QLabel *Label_DesName = nullptr;
    QLabel *Label_StartTime = nullptr;
    QLabel *Label_StopTime = nullptr;
    QLabel *Label_Length = nullptr;
    QLabel *Label_CurrentTime = nullptr;
    QLabel *Label_CP = nullptr;
    QLabel *Label_TP = nullptr;
    QWidget *Panel_Progress = nullptr;
    QLineEdit *Edit_WorkingFolder = nullptr;

signals:
    void closed();

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    QLabel *makeLabel(QWidget *parent, int x, int y, const QString &text, int width = -1);
    QLabel *placeAfter(QLabel *caption, QLabel *value);
    QLabel *makePercent(int barTop);
    void placeBar(TImage *bar, int percent);
    void showRunning(bool running);

    BatchHost *m_host;
    TWindowFrame *m_frame = nullptr;
    QString m_lastError;
    QStringList m_failures;
    int m_completed = 0;
    int m_lastResult = -1;
};

extern TProgressWindow *ProgressWindow;
