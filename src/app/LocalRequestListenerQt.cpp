#include "LocalRequestListener.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QTimer>

namespace {

constexpr int kSilenceMs = 5000;

} // namespace

struct LocalRequestListener::Impl
{
    QLocalServer server;
};

LocalRequestListener::LocalRequestListener(QObject *parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>())
{
    m_impl->server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_impl->server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_impl->server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            const auto read = [this, socket] {
                if (!socket->canReadLine()) {
                    if (socket->bytesAvailable() > kMaxRequest)
                        socket->abort();
                    return;
                }
                const QByteArray line = socket->readLine(kMaxRequest);
                socket->disconnectFromServer();
                if (line.endsWith('\n'))
                    emit lineReceived(line);
            };
            connect(socket, &QLocalSocket::readyRead, this, read);
            QTimer::singleShot(kSilenceMs, socket, [socket] { socket->abort(); });
            if (socket->bytesAvailable() > 0)
                read();
        }
    });
}

LocalRequestListener::~LocalRequestListener()
{
    close();
}

bool LocalRequestListener::listen(const QString &path)
{
    QLocalServer::removeServer(path);
    if (m_impl->server.listen(path))
        return true;
    m_error = m_impl->server.errorString();
    return false;
}

void LocalRequestListener::close()
{
    m_impl->server.close();
}

bool LocalRequestListener::send(const QString &path, const QByteArray &line, std::chrono::milliseconds patience)
{
    const QDeadlineTimer deadline(patience);
    QLocalSocket socket;
    while (true) {
        socket.connectToServer(path);
        if (socket.waitForConnected(qMax<qint64>(1, qMin<qint64>(200, deadline.remainingTime()))))
            break;
        socket.abort();
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    socket.write(line);
    if (!socket.waitForBytesWritten(qMax<qint64>(1, deadline.remainingTime())))
        return false;
    if (socket.state() == QLocalSocket::ConnectedState)
        socket.waitForDisconnected(qMax<qint64>(1, deadline.remainingTime()));
    return true;
}
