#include "FakeClock.h"

#include <QFile>
#include <QSaveFile>

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
    const qint64 offset = moment.toSecsSinceEpoch() - QDateTime::currentSecsSinceEpoch();
    QSaveFile file(m_file);
    if (file.open(QIODevice::WriteOnly)) {
        file.write((offset >= 0 ? "+" : "") + QByteArray::number(offset) + '\n');
        file.commit();
    }
}

std::vector<std::pair<const char *, QByteArray>> FakeClock::environment(const char *zone) const
{
    return {{"LD_PRELOAD", kLibrary}, {"FAKETIME_TIMESTAMP_FILE", QFile::encodeName(m_file)},
        {"FAKETIME_NO_CACHE", "1"}, {"FAKETIME_DONT_FAKE_MONOTONIC", "1"}, {"TZ", zone}};
}
