#pragma once

#include <QByteArray>
#include <QProcess>
#include <QStandardPaths>
#include <QString>

// An X server of our own on a free display (Xvfb picks it and tells us
// through -displayfd), stopped with the object. Other test runs on the same
// machine get displays of their own.
class PrivateDisplay
{
public:
    static bool available() { return !QStandardPaths::findExecutable("Xvfb").isEmpty(); }

    bool start()
    {
        const QString xvfb = QStandardPaths::findExecutable("Xvfb");
        if (xvfb.isEmpty())
            return false;
        m_server.start(
            xvfb, {"-displayfd", "1", "-screen", "0", "1024x768x24", "-nolisten", "tcp", "-br"});
        while (m_server.waitForReadyRead(10000)) {
            m_display += m_server.readAllStandardOutput();
            if (m_display.endsWith('\n'))
                return true;
        }
        return false;
    }
    ~PrivateDisplay()
    {
        if (m_server.state() != QProcess::NotRunning) {
            m_server.terminate();
            if (!m_server.waitForFinished(5000))
                m_server.kill();
        }
    }
    QString name() const { return ":" + QString::fromLatin1(m_display.trimmed()); }

private:
    QProcess m_server;
    QByteArray m_display;
};
