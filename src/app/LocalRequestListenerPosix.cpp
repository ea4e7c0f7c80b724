#include "LocalRequestListener.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <map>

namespace {

constexpr int kSilenceMs = 5000;

bool toAddress(const QString &path, sockaddr_un &address)
{
    const QByteArray name = QFile::encodeName(path);
    if (name.isEmpty() || name.size() >= static_cast<qsizetype>(sizeof address.sun_path))
        return false;
    address = {};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, name.constData(), static_cast<std::size_t>(name.size()));
    return true;
}

// One accepted connection: reads until a line's end, then is closed.
class Peer final : public QObject
{
public:
    Peer(int fd, LocalRequestListener *listener)
        : QObject(listener)
        , m_fd(fd)
        , m_listener(listener)
        , m_notifier(fd, QSocketNotifier::Read)
    {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Peer::readSome);
        QTimer::singleShot(kSilenceMs, this, [this] { finish(); });
    }

    ~Peer() override { ::close(m_fd); }

private:
    void readSome()
    {
        char chunk[LocalRequestListener::kMaxRequest + 1];
        const ssize_t got = ::recv(m_fd, chunk, sizeof chunk, MSG_DONTWAIT);
        if (got < 0 && (errno == EAGAIN || errno == EINTR))
            return;
        if (got <= 0) {
            finish();
            return;
        }
        m_buffer.append(chunk, got);
        const qsizetype end = m_buffer.indexOf('\n');
        if (end >= 0 && end < LocalRequestListener::kMaxRequest - 1) {
            const QByteArray line = m_buffer.left(end + 1);
            finish();
            emit m_listener->lineReceived(line);
        } else if (end >= 0 || m_buffer.size() > LocalRequestListener::kMaxRequest) {
            finish();
        }
    }

    void finish()
    {
        m_notifier.setEnabled(false);
        deleteLater();
    }

    int m_fd;
    LocalRequestListener *m_listener;
    QSocketNotifier m_notifier;
    QByteArray m_buffer;
};

} // namespace

struct LocalRequestListener::Impl
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
};

LocalRequestListener::LocalRequestListener(QObject *parent)
    : QObject(parent)
    , m_impl(std::make_unique<Impl>())
{
}

LocalRequestListener::~LocalRequestListener()
{
    close();
}

bool LocalRequestListener::listen(const QString &path)
{
    close();
    sockaddr_un address{};
    if (!toAddress(path, address)) {
        m_error = QStringLiteral("%1: the path is too long for a local socket").arg(path);
        return false;
    }
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    ::unlink(address.sun_path);
    // Made for this user alone from the start: no moment in which another
    // could connect.
    const mode_t oldMask = ::umask(0077);
    const bool bound = ::bind(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0;
    ::umask(oldMask);
    if (!bound || ::listen(fd, 16) != 0) {
        m_error = QStringLiteral("%1: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return false;
    }
    m_impl->fd = fd;
    m_impl->notifier = std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read);
    connect(m_impl->notifier.get(), &QSocketNotifier::activated, this, [this] {
        while (true) {
            const int peer = ::accept4(m_impl->fd, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (peer < 0)
                return;
            new Peer(peer, this);
        }
    });
    return true;
}

void LocalRequestListener::close()
{
    m_impl->notifier.reset();
    if (m_impl->fd >= 0) {
        ::close(m_impl->fd);
        m_impl->fd = -1;
    }
}

bool LocalRequestListener::send(const QString &path, const QByteArray &line, std::chrono::milliseconds patience)
{
    const QDeadlineTimer deadline(patience);
    sockaddr_un address{};
    if (!toAddress(path, address))
        return false;
    int fd = -1;
    while (true) {
        fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (fd < 0)
            return false;
        if (::connect(fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) == 0)
            break;
        ::close(fd);
        if (deadline.hasExpired())
            return false;
        QThread::msleep(50);
    }
    const auto waitFor = [&](short events) {
        pollfd entry{fd, events, 0};
        const qint64 left = qMax<qint64>(1, deadline.remainingTime());
        return ::poll(&entry, 1, static_cast<int>(qMin<qint64>(left, 60000))) > 0;
    };
    qsizetype sent = 0;
    while (sent < line.size()) {
        const ssize_t n = ::send(fd, line.constData() + sent, static_cast<std::size_t>(line.size() - sent),
            MSG_NOSIGNAL | MSG_DONTWAIT);
        if (n > 0) {
            sent += n;
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR) && !deadline.hasExpired() && waitFor(POLLOUT)) {
            continue;
        } else {
            ::close(fd);
            return false;
        }
    }
    // The listener closes the connection once it has read the line.
    char ignored = 0;
    while (!deadline.hasExpired() && waitFor(POLLIN)) {
        const ssize_t n = ::recv(fd, &ignored, 1, MSG_DONTWAIT);
        if (n == 0 || (n < 0 && errno != EAGAIN && errno != EINTR))
            break;
    }
    ::close(fd);
    return true;
}
