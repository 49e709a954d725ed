#include "platform/singleinstance.h"

#include <QDir>
#include <QLockFile>
#include <QStandardPaths>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

SingleInstance::SingleInstance(const QString &key) : m_key(key) {}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockPath() const
{
    QString name = m_key;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    QString dir;
    if (qEnvironmentVariableIsSet("XDG_RUNTIME_DIR"))
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty()) {
        // The shared temporary folder: the lock must still be per user.
        dir = QDir::tempPath();
#ifdef Q_OS_UNIX
        name += QStringLiteral("-%1").arg(::getuid());
#endif
    }
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
