#include "RunLock.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

struct RunLock::Impl
{
    QByteArray path;
    int fd = -1;
};

RunLock::RunLock(const QString &path)
    : m_impl(std::make_unique<Impl>())
{
    m_impl->path = QFile::encodeName(path);
}

RunLock::~RunLock()
{
    release();
}

RunLock::Result RunLock::take()
{
    if (m_impl->fd >= 0)
        return Result::Taken;
    const int fd = ::open(m_impl->path.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno == EACCES || errno == EPERM || errno == EROFS ? Result::NotPermitted : Result::Failed;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        return error == EWOULDBLOCK ? Result::Held : Result::Failed;
    }
    m_impl->fd = fd;
    // The lock itself is the flock. The file names its holder in QLockFile's
    // layout (process id, program, host), so that a build that still locks
    // with QLockFile reads it as the lock of a running process.
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    const QByteArray holder = QByteArray::number(static_cast<qint64>(::getpid())) + '\n'
        + QCoreApplication::applicationName().toUtf8() + '\n' + QByteArray(host) + '\n';
    if (::ftruncate(fd, 0) == 0) {
        [[maybe_unused]] const ssize_t written
            = ::pwrite(fd, holder.constData(), static_cast<size_t>(holder.size()), 0);
    }
    return Result::Taken;
}

void RunLock::release()
{
    if (m_impl->fd < 0)
        return;
    // The file stays: removing it would let a copy that opened it a moment
    // ago lock a file no later copy can see.
    ::close(m_impl->fd);
    m_impl->fd = -1;
}
