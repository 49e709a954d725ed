#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

class QLockFile;
class QLocalServer;

// One running copy per user. The first copy holds a lock named after the
// main window's caption; a second copy fails to take it and ends silently.
// A lock left behind by a crashed copy is taken over.
//
// Beside the lock the first copy listens on a local socket of the same name,
// so that a second copy started with files ("Open with" in a file manager)
// can hand them over before it ends.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &key);
    ~SingleInstance();

    // True when this process now holds the lock (or already did).
    bool acquire();

    // Where the lock lives (in the user's runtime or temporary folder).
    QString lockPath() const;
    // Where the running copy listens for files: beside the lock.
    QString socketPath() const;

    using FilesHandler = std::function<void(const QStringList &files)>;
    // The first copy: starts listening; every list a later copy sends goes to
    // onFiles on this thread's event loop. Needs the application object.
    bool listen(FilesHandler onFiles);

    // A later copy: sends files to the running copy, waiting up to timeoutMs
    // for it to listen (it may still be starting). True when delivered.
    // Needs an application object (a QCoreApplication will do).
    bool handOver(const QStringList &files, int timeoutMs = 5000) const;

private:
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
    std::unique_ptr<QLocalServer> m_server;
};
