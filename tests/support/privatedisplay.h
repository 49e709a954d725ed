#pragma once

// An X server of our own for the on-screen tests: Xvfb on a display it
// picks itself (-displayfd), so tests running side by side never collide.
#include <QProcess>
#include <QStandardPaths>
#include <QString>

// An X server of our own on a free display, stopped with the test.
class PrivateDisplay
{
public:
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
