#pragma once

#include <QObject>

#include <cstdint>
#include <memory>

class QSocketNotifier;

// Wakes once at a moment of the wall clock, and at once when the wall clock
// is set meanwhile. Unlike a timer that counts elapsed time, it also comes
// as soon as the machine resumes from a sleep that slept past the moment.
// Linux only (a CLOCK_REALTIME timerfd, WallClockTimerTimerfd.cpp); create()
// gives none elsewhere.
class WallClockTimer final : public QObject
{
    Q_OBJECT

public:
    static std::unique_ptr<WallClockTimer> create();
    ~WallClockTimer() override;

    // Wakes at the moment the wall clock shows milliseconds from the start
    // of the current millisecond, never earlier; replaces any moment asked
    // for before.
    void startAfter(std::int64_t milliseconds);
    void stop();
    bool isActive() const { return m_active; }

signals:
    // The moment came or the clock was set; either way, once.
    void timeout();

private:
    explicit WallClockTimer(int fd);
    void onReadable();
    void disarm();

    int m_fd;
    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_active = false;
};
