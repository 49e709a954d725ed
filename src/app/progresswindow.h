// The progress window, TProgressWindow: where a batch is shown.
#pragma once

#include "encoder/batchrun.h"

#include <QString>
#include <QWidget>

class QLabel;
class QLineEdit;
class Settings;
class TDynamicImageButton;
class TImage;
class TWindowFrame;

// The window a batch runs in: the clip being converted, its times, a bar
// for the clip and one for the whole batch, the output folder, and the
// Start, Stop, Close and Browse buttons. Shown modally by the convert button.
// The batch itself is the application's BatchRun; this window shows what
// the batch reports and forwards its buttons to it. The output folder it
// shows and changes is the application's settings' path_Work.
class TProgressWindow : public QWidget
{
    Q_OBJECT

public:
    explicit TProgressWindow(QWidget *parent = nullptr);
    ~TProgressWindow() override;

    // Shows the window and returns when it has been closed.
    void ShowModal();

    // A fresh batch at clip 0, shown as such, for the settings' output folder.
    void ResetDisplay();
    // The figures for the clip about to run.
    void ShowClip(const QString &input, const QString &output, int startTime, int stopTime);
    void SetPercent(int clipPercent, int batchPercent);

    void StartClick();
    void StopClick();
    void CloseClick();
    void BrowseClick();

    BatchRun *batch() const { return m_batch; }

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
    static QLabel *moveValue(QLabel *value, int left);
    QLabel *makePercent(int barTop);
    void placeBar(TImage *bar, int percent);
    void showRunning(bool running);
    void showReset();
    void showEnd(const QStringList &failures, bool openFolder);
    // The file's name, shortened in its middle to fit the label; the whole
    // name in the tooltip.
    static void showFileName(QLabel *label, const QString &path);
    void wireBatch();

    BatchRun *m_batch;
    Settings &m_settings;
    TWindowFrame *m_frame = nullptr;
    bool m_refusingClose = false; // the box refusing to close is up
};

extern TProgressWindow *ProgressWindow;
