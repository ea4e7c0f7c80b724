#include "FakeClock.h"

#include <QFile>
#include <QSaveFile>
#include <QThread>

FakeClock::FakeClock(const QString &offsetFile)
    : m_file(offsetFile)
{
}

bool FakeClock::available()
{
    return QFile::exists(QLatin1String(kLibrary));
}

void FakeClock::set(const QDateTime &moment)
{
    if (m_offset) {
        // Until the faked clock is 0.7 s before its next whole minute.
        for (;;) {
            const qint64 intoMinute = (QDateTime::currentMSecsSinceEpoch() + *m_offset * 1000) % 60000;
            if (intoMinute >= 59300 && intoMinute < 59800)
                break;
            QThread::msleep(intoMinute < 59300 ? static_cast<unsigned long>(59300 - intoMinute) : 100);
        }
    }
    const qint64 offset = moment.toSecsSinceEpoch() - QDateTime::currentSecsSinceEpoch();
    m_offset = offset;
    QSaveFile file(m_file);
    if (file.open(QIODevice::WriteOnly)) {
        file.write((offset >= 0 ? "+" : "") + QByteArray::number(offset) + '\n');
        file.commit();
    }
}

std::vector<std::pair<const char *, QByteArray>> FakeClock::environment(const char *zone) const
{
    // A program built with AddressSanitizer wants its runtime loaded first;
    // libfaketime before it is harmless.
    QByteArray sanitizer = qgetenv("ASAN_OPTIONS");
    sanitizer += QByteArray(sanitizer.isEmpty() ? "" : ":") + "verify_asan_link_order=0";
    return {{"LD_PRELOAD", kLibrary}, {"FAKETIME_TIMESTAMP_FILE", QFile::encodeName(m_file)},
        {"FAKETIME_NO_CACHE", "1"}, {"FAKETIME_DONT_FAKE_MONOTONIC", "1"}, {"TZ", zone},
        {"ASAN_OPTIONS", sanitizer}};
}

FakeClock::Scope::Scope(const FakeClock &clock, const char *zone)
{
    for (const auto &[name, value] : clock.environment(zone)) {
        m_saved.emplace_back(
            name, qEnvironmentVariableIsSet(name) ? std::optional(qgetenv(name)) : std::nullopt);
        qputenv(name, value);
    }
}

FakeClock::Scope::~Scope()
{
    for (const auto &[name, value] : m_saved) {
        if (value)
            qputenv(name, *value);
        else
            qunsetenv(name);
    }
}
