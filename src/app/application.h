#pragma once

#include <QApplication>
#include <QString>
#include <functional>

// The application object. It carries the two things the program needs of it
// beyond Qt's own: an application-wide handler for exceptions that escape an
// event handler, and a termination request that also works before the
// message loop has started (the loop then returns at once).
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

private:
    void handleException(const QString &message);

    ExceptionHandler m_handler;
    bool m_terminate = false;
};

// Asks the running program to end in order (also before its loop runs).
void RequestTermination();
