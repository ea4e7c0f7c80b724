#include "RunLock.h"

#include <QLockFile>

struct RunLock::Impl
{
    explicit Impl(const QString &path)
        : lock(path)
    {
        // Held for the whole run: only a lock whose process is gone is
        // stale, never one that is merely old.
        lock.setStaleLockTime(0);
    }

    QLockFile lock;
};

RunLock::RunLock(const QString &path)
    : m_impl(std::make_unique<Impl>(path))
{
}

RunLock::~RunLock()
{
    release();
}

RunLock::Result RunLock::take()
{
    if (m_impl->lock.isLocked())
        return Result::Taken;
    if (m_impl->lock.tryLock(0))
        return Result::Taken;
    switch (m_impl->lock.error()) {
    case QLockFile::LockFailedError:
        return Result::Held;
    case QLockFile::PermissionError:
        return Result::NotPermitted;
    case QLockFile::NoError:
    case QLockFile::UnknownError:
        break;
    }
    return Result::Failed;
}

void RunLock::release()
{
    // Unlocks only when this object took the lock.
    m_impl->lock.unlock();
}
