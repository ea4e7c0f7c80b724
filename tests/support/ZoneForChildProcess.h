#pragma once

#include <QString>

#include <optional>

// The TZ value that makes a child process (tickwell-sim) keep the local time
// of an IANA zone, or nothing when the platform cannot do that per process.
// On Windows the C runtime reads TZ itself, and only in the old form
// "JST-9" without rules for summer time: a zone that changes its clocks
// cannot be given to one process there (the system's zone is a setting of
// the whole machine).
inline std::optional<QString> zoneForChildProcess(const QString &zone)
{
#ifdef Q_OS_WIN
    if (zone == QLatin1String("Asia/Tokyo"))
        return QStringLiteral("JST-9");
    if (zone == QLatin1String("UTC"))
        return QStringLiteral("UTC0");
    return std::nullopt;
#else
    return zone;
#endif
}
