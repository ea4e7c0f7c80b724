#include "SwayIpc.h"

#include <cerrno>
#include <cstring>

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

constexpr char kMagic[] = {'i', '3', '-', 'i', 'p', 'c'};
constexpr std::size_t kHeaderSize = sizeof kMagic + 2 * sizeof(std::uint32_t);
// Replies beyond this are not what we asked for (a GET_TREE of a busy
// desktop is well under a megabyte).
constexpr std::uint32_t kLargestReply = 16u << 20;

} // namespace

SwayIpc::SwayIpc(const QString &socketPath, int timeoutMs)
    : m_deadline(timeoutMs)
{
    const QByteArray path = socketPath.toLocal8Bit();
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || static_cast<std::size_t>(path.size()) >= sizeof address.sun_path)
        return;
    std::memcpy(address.sun_path, path.constData(), static_cast<std::size_t>(path.size()));
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0)
        return;
    // A Unix-domain connect either completes at once or fails.
    if (::connect(m_fd, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0)
        close();
}

SwayIpc::~SwayIpc()
{
    close();
}

std::optional<QByteArray> SwayIpc::request(Message type, const QByteArray &payload)
{
    if (m_fd < 0)
        return std::nullopt;
    char header[kHeaderSize];
    std::memcpy(header, kMagic, sizeof kMagic);
    const auto length = static_cast<std::uint32_t>(payload.size());
    const std::uint32_t messageType = type;
    std::memcpy(header + sizeof kMagic, &length, sizeof length);
    std::memcpy(header + sizeof kMagic + sizeof length, &messageType, sizeof messageType);
    if (!writeAll(header, sizeof header)
        || !writeAll(payload.constData(), static_cast<std::size_t>(payload.size()))) {
        close();
        return std::nullopt;
    }

    std::uint32_t replyLength = 0;
    std::uint32_t replyType = 0;
    if (!readAll(header, sizeof header) || std::memcmp(header, kMagic, sizeof kMagic) != 0) {
        close();
        return std::nullopt;
    }
    std::memcpy(&replyLength, header + sizeof kMagic, sizeof replyLength);
    std::memcpy(&replyType, header + sizeof kMagic + sizeof replyLength, sizeof replyType);
    if (replyType != messageType || replyLength > kLargestReply) {
        close();
        return std::nullopt;
    }
    QByteArray reply(static_cast<qsizetype>(replyLength), Qt::Uninitialized);
    if (!readAll(reply.data(), replyLength)) {
        close();
        return std::nullopt;
    }
    return reply;
}

bool SwayIpc::writeAll(const char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::send(m_fd, data, size, MSG_NOSIGNAL);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!waitFor(POLLOUT))
                return false;
        } else {
            return false;
        }
    }
    return true;
}

bool SwayIpc::readAll(char *data, std::size_t size)
{
    while (size > 0) {
        const ssize_t n = ::recv(m_fd, data, size, 0);
        if (n > 0) {
            data += n;
            size -= static_cast<std::size_t>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else if (n < 0 && errno == EAGAIN) {
            if (!waitFor(POLLIN))
                return false;
        } else {
            return false; // closed by sway, or an error
        }
    }
    return true;
}

bool SwayIpc::waitFor(short events)
{
    for (;;) {
        const qint64 left = m_deadline.remainingTime();
        if (left <= 0)
            return false;
        pollfd fd{m_fd, events, 0};
        // Ready, hung up or failed: the next send or recv tells which.
        const int ready = ::poll(&fd, 1, static_cast<int>(left));
        if (ready > 0)
            return true;
        if (ready < 0 && errno != EINTR)
            return false;
    }
}

void SwayIpc::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}
