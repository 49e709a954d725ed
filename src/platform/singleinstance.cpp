#include "singleinstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

SingleInstance::SingleInstance(const QString &key) : m_key(key) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockPath() const
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QString name = m_key;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return dir + QLatin1Char('/') + name + QStringLiteral(".lock");
}

bool SingleInstance::acquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(lockPath());
    // A stale lock (its process is gone) is removed by tryLock itself.
    return m_lock->tryLock(0);
}
