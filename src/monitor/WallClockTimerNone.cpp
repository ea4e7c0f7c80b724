#include "WallClockTimer.h"

#include <QSocketNotifier>

// No timer of the wall clock here: the view ticks each second instead.
std::unique_ptr<WallClockTimer> WallClockTimer::create()
{
    return nullptr;
}

WallClockTimer::WallClockTimer(int fd)
    : m_fd(fd)
{
}

WallClockTimer::~WallClockTimer() = default;

void WallClockTimer::startAfter(std::int64_t)
{
}

void WallClockTimer::stop()
{
    m_active = false;
}

void WallClockTimer::onReadable()
{
}

void WallClockTimer::disarm()
{
}
