#include "SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

namespace {

// The one request there is. Anything else that reaches the socket is
// dropped, and a peer that sends more than this much is cut off.
constexpr char kActivate[] = "activate\n";
constexpr qint64 kMaxRequest = 64;

QString defaultFolder()
{
    return QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
}

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent)
    , m_folder(folder.isEmpty() ? defaultFolder() : folder)
    , m_lock(QDir(m_folder).filePath(QString::fromLatin1(kName) + QStringLiteral(".lock")))
{
    // Held for the whole run: only a lock whose process is gone is stale,
    // never one that is merely old.
    m_lock.setStaleLockTime(0);
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

SingleInstance::~SingleInstance()
{
    m_server.close();
    // Unlocks only when this object took the lock.
    m_lock.unlock();
}

QString SingleInstance::lockFilePath() const
{
    return QDir(m_folder).filePath(QString::fromLatin1(kName) + QStringLiteral(".lock"));
}

QString SingleInstance::serverPath() const
{
    return QDir(m_folder).filePath(QString::fromLatin1(kName));
}

SingleInstance::Outcome SingleInstance::acquire()
{
    if (m_folder.isEmpty()) {
        m_error = QStringLiteral("no runtime folder");
        return Outcome::Failed;
    }
    if (!m_lock.tryLock(0)) {
        switch (m_lock.error()) {
        case QLockFile::LockFailedError:
            return Outcome::Running;
        case QLockFile::PermissionError:
            m_error = QStringLiteral("%1: permission denied").arg(lockFilePath());
            return Outcome::Failed;
        default:
            m_error = QStringLiteral("%1: cannot be created").arg(lockFilePath());
            return Outcome::Failed;
        }
    }
    // Holding the lock, whatever is at the socket's path was left behind.
    QLocalServer::removeServer(serverPath());
    if (!m_server.listen(serverPath())) {
        // The program still runs; later copies then find no one to ask and
        // end quietly.
        m_error = m_server.errorString();
    }
    return Outcome::First;
}

bool SingleInstance::askRunningCopy(std::chrono::milliseconds patience)
{
    const QDeadlineTimer deadline(patience);
    QLocalSocket socket;
    while (true) {
        socket.connectToServer(serverPath());
        if (socket.waitForConnected(qMax<qint64>(1, qMin<qint64>(200, deadline.remainingTime()))))
            break;
        socket.abort();
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    socket.write(kActivate, sizeof kActivate - 1);
    if (!socket.waitForBytesWritten(qMax<qint64>(1, deadline.remainingTime())))
        return false;
    // The running copy closes the connection once it has read the request.
    if (socket.state() == QLocalSocket::ConnectedState)
        socket.waitForDisconnected(qMax<qint64>(1, deadline.remainingTime()));
    return true;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket *socket = m_server.nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
        // A peer that connects and says nothing is not kept forever.
        QTimer::singleShot(5000, socket, [socket] { socket->abort(); });
        if (socket->bytesAvailable() > 0)
            readRequest(socket);
    }
}

void SingleInstance::readRequest(QLocalSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > kMaxRequest)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(kMaxRequest);
    socket->disconnectFromServer();
    if (line == kActivate)
        QTimer::singleShot(0, this, &SingleInstance::activationRequested);
}
