#pragma once

#include "clips/cliplist.h"
#include "encoder/batchrun.h"
#include "platform/settings.h"

#include <QApplication>
#include <QString>
#include <functional>
#include <memory>

// The application object. Beyond Qt's own it carries the program's data,
// the clip list and the batch that converts it, which the windows show, the
// settings kept between runs, which the windows ask and tell, and
// two things of its life: an application-wide handler for exceptions that
// escape an event handler, and a termination request that also works before
// the message loop has started (the loop then returns at once).
class ZeloApplication : public QApplication
{
public:
    using ExceptionHandler = std::function<void(const QString &message)>;

    ZeloApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // Installs handler and returns the one it replaces.
    ExceptionHandler setExceptionHandler(ExceptionHandler handler);

    void requestTermination();
    bool terminationRequested() const { return m_terminate; }
    // Forgets an earlier request, for a program that starts anew in the same
    // process (the tests do).
    void resetTermination() { m_terminate = false; }

    // Runs the message loop unless termination was requested already.
    int run();

    static ZeloApplication *instance();

    ClipList *clips() { return &m_clips; }
    Settings &settings() { return m_settings; }
    // The batch the windows show and start.
    BatchRun *batch();
    // A fresh batch taking its jobs from source, for a new main window:
    // nothing of an earlier window's batch (a late end message, a queued
    // status line) reaches it.
    BatchRun *renewBatch(BatchSource *source);

private:
    void handleException(const QString &message);

    ClipList m_clips;
    Settings m_settings;
    std::unique_ptr<BatchRun> m_batch;
    ExceptionHandler m_handler;
    bool m_terminate = false;
};

// Asks the running program to end in order (also before its loop runs).
void RequestTermination();
