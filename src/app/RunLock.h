#pragma once

#include <QString>

#include <memory>

// The lock a running copy holds on a file for its whole life: a plain
// advisory lock (flock()) on the file, which the system lets go of when the
// process ends, however it ends: a copy that crashed leaves no lock behind,
// nothing has to find out whether its process is gone, and taking the lock
// writes nothing to the disk. (Windows has its named mutex instead.)
class RunLock final
{
public:
    enum class Result {
        Taken,        // this process holds the lock now
        Held,         // another running process holds it
        NotPermitted, // the file may not be made or opened
        Failed,       // the file cannot be made (a missing folder, ...)
    };

    explicit RunLock(const QString &path);
    ~RunLock();
    RunLock(const RunLock &) = delete;
    RunLock &operator=(const RunLock &) = delete;

    Result take();
    // Lets go of a lock this object took; nothing otherwise.
    void release();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
