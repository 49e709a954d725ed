#include "platform/singleinstance.h"

#include "platform/nativepath.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {
// Paths may hold any character but NUL, line breaks included.
constexpr char kSeparator = '\0';
// A file list from a misbehaving client is cut off here rather than filling memory.
constexpr qint64 kMaxMessage = 4 * 1024 * 1024;

QStringList decodeFiles(const QByteArray &bytes)
{
    QStringList files;
    for (const QByteArray &part : bytes.split(kSeparator))
        if (!part.isEmpty())
            files << PathFromNative(part);
    return files;
}
} // namespace

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

QString SingleInstance::socketPath() const
{
    QString path = lockPath();
    path.chop(int(qstrlen(".lock")));
    return path + QStringLiteral(".socket");
}

bool SingleInstance::acquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(lockPath());
    // A stale lock (its process is gone) is removed by tryLock itself.
    return m_lock->tryLock(0);
}

bool SingleInstance::listen(FilesHandler onFiles)
{
    if (!m_lock || !m_lock->isLocked())
        return false;
    // Holding the lock makes any socket left at the path a dead copy's.
    QLocalServer::removeServer(socketPath());
    m_server = std::make_unique<QLocalServer>();
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer *server = m_server.get();
    QObject::connect(server, &QLocalServer::newConnection, server, [server, onFiles] {
        while (QLocalSocket *client = server->nextPendingConnection()) {
            auto buffer = std::make_shared<QByteArray>();
            QObject::connect(client, &QLocalSocket::readyRead, client, [client, buffer] {
                buffer->append(client->readAll());
                if (buffer->size() > kMaxMessage)
                    client->abort();
            });
            QObject::connect(client, &QLocalSocket::disconnected, client,
                             [client, buffer, onFiles] {
                                 buffer->append(client->readAll());
                                 client->deleteLater();
                                 const QStringList files = decodeFiles(*buffer);
                                 if (!files.isEmpty() && buffer->size() <= kMaxMessage)
                                     onFiles(files);
                             });
        }
    });
    return server->listen(socketPath());
}

bool SingleInstance::handOver(const QStringList &files, int timeoutMs) const
{
    if (files.isEmpty())
        return true;
    QByteArray message;
    for (const QString &file : files)
        message += NativePath(file) + kSeparator;
    QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    for (;;) {
        socket.connectToServer(socketPath());
        if (socket.waitForConnected(int(qMax<qint64>(1, deadline.remainingTime()))))
            break;
        if (deadline.hasExpired())
            return false;
        // The running copy takes the lock before it starts listening.
        QThread::msleep(100);
    }
    socket.write(message);
    bool sent = true;
    while (sent && socket.bytesToWrite() > 0)
        sent = socket.waitForBytesWritten(int(qMax<qint64>(1, deadline.remainingTime())));
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(1000);
    return sent;
}
