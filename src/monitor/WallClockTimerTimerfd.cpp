#include "WallClockTimer.h"

#include <QSocketNotifier>
#include <QTimer>

#include <algorithm>

#include <sys/timerfd.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>

std::unique_ptr<WallClockTimer> WallClockTimer::create()
{
    const int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd >= 0)
        return std::unique_ptr<WallClockTimer>(new WallClockTimer(fd));
    return nullptr;
}

WallClockTimer::WallClockTimer(int fd)
    : m_fd(fd)
    , m_notifier(std::make_unique<QSocketNotifier>(fd, QSocketNotifier::Read))
{
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &WallClockTimer::onReadable);
}

WallClockTimer::~WallClockTimer()
{
    m_notifier.reset();
    ::close(m_fd);
}

void WallClockTimer::startAfter(std::int64_t milliseconds)
{
    const std::int64_t wait = std::max<std::int64_t>(milliseconds, 0);
    itimerspec due{};
    clock_gettime(CLOCK_REALTIME, &due.it_value);
    // Counted from the start of the current millisecond: a wait the caller
    // worked out from a reading in whole milliseconds then ends on the very
    // millisecond it aims at, not up to one later.
    const std::int64_t nanoseconds = due.it_value.tv_nsec / 1000000 * 1000000 + wait % 1000 * 1000000;
    due.it_value.tv_sec += static_cast<time_t>(wait / 1000 + nanoseconds / 1000000000);
    due.it_value.tv_nsec = static_cast<long>(nanoseconds % 1000000000);
    m_active = true;
    if (timerfd_settime(m_fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &due, nullptr) != 0) {
        // The clock was set before the cancel could be asked for (ECANCELED),
        // or the timer refused: wake at once rather than never.
        disarm();
        m_active = true;
        QTimer::singleShot(0, this, [this] {
            if (m_active) {
                m_active = false;
                emit timeout();
            }
        });
    }
}

void WallClockTimer::stop()
{
    m_active = false;
    disarm();
}

void WallClockTimer::onReadable()
{
    std::uint64_t expirations = 0;
    const ssize_t got = ::read(m_fd, &expirations, sizeof expirations);
    if (got < 0 && errno == EAGAIN)
        return;
    // Expired, or ECANCELED: the clock was set. A cancelled timer stays
    // readable until it is set again, so it is disarmed here whatever the
    // caller does next.
    if (got < 0)
        disarm();
    if (!m_active)
        return;
    m_active = false;
    emit timeout();
}

void WallClockTimer::disarm()
{
    const itimerspec none{};
    timerfd_settime(m_fd, 0, &none, nullptr);
}
