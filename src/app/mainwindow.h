#pragma once

#include "application.h"
#include "messagetarget.h"

#include <QString>
#include <QWidget>

// The program's main window and hub: controls and libraries report to it by
// messages, and it calls the parts that act. It is created once at start and
// lives until the message loop has ended.
class TMainWindow : public QWidget
{
    Q_OBJECT

public:
    static const QString Caption; // "Zuzudu4 Converter"

    explicit TMainWindow(QWidget *parent = nullptr);
    ~TMainWindow() override;

    // Applies the skin and the saved state once every window exists. False
    // means the program cannot run.
    bool InitMainWindow();

    // The destroy handler: runs once after the message loop has ended and
    // before any window is deleted.
    void FormDestroy();

    // The "window handle" given to the engine and the player.
    MessageTarget *messageTarget() { return &m_target; }

    // Set by the profile chooser, read by the command line.
    QString s_OutputExt;
    QString s_OutputFormat;
    int SnapIndex = 0;

signals:
    // Emitted for every private message this window receives (after it has
    // been handled); lets tests and tools watch the traffic.
    void windowMessage(unsigned msg, quintptr wParam, qintptr lParam);

protected:
    bool event(QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

    // Dispatch on the message number, like a window procedure.
    virtual void WindowProc(unsigned msg, uintptr_t wParam, intptr_t lParam);

private:
    void FormCreate();
    void FormClose();

    QtMessageTarget m_target;
    bool m_encoderReady = false;
    bool m_destroyed = false;
    ZeloApplication::ExceptionHandler m_previousHandler;
};

extern TMainWindow *MainWindow;
