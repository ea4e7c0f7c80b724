#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

// The real program's clock, moved with libfaketime: the program reads its
// offset from a file each time it asks for the time, so that a test can set
// the clock while the program runs. Only the wall clock moves; timers run on
// as before.
//
// A program waiting for the next whole minute by a wall-clock timer is woken
// at once by the kernel when the real clock is set, but a moved offset tells
// nobody: set() on a running program's clock therefore moves it in the last
// moments of the minute the program waits for, so that it wakes a few tenths
// of a second later and finds the new time, as after a real setting.
class FakeClock
{
public:
    static constexpr const char *kLibrary = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";

    explicit FakeClock(const QString &offsetFile);

    static bool available();
    // From now on the program's clock reads this moment. Every setting after
    // the first waits (up to a minute) for the end of the faked minute.
    void set(const QDateTime &moment);
    // The variables that put a program on this clock, in the given zone.
    std::vector<std::pair<const char *, QByteArray>> environment(const char *zone) const;
    // Sets them in this process's environment, for the next program it
    // starts, and puts the old values back when it goes.
    class Scope
    {
    public:
        Scope(const FakeClock &clock, const char *zone);
        ~Scope();

    private:
        std::vector<std::pair<const char *, std::optional<QByteArray>>> m_saved;
    };

private:
    QString m_file;
    std::optional<qint64> m_offset; // seconds, as last set
};
