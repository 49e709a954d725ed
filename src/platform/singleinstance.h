#pragma once

#include <QString>
#include <memory>

class QLockFile;

// One running copy per user. The first copy holds a lock named after the
// main window's caption; a second copy fails to take it and ends silently.
// A lock left behind by a crashed copy is taken over.
class SingleInstance
{
public:
    explicit SingleInstance(const QString &key);
    ~SingleInstance();

    // True when this process now holds the lock (or already did).
    bool acquire();

    // Where the lock lives (in the user's runtime or temporary folder).
    QString lockPath() const;

private:
    QString m_key;
    std::unique_ptr<QLockFile> m_lock;
};
