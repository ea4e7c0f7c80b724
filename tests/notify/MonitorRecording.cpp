#include "MonitorRecording.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include <cstdint>
#include <cstring>

namespace {

QString monitorSource()
{
    const QString monitor = qEnvironmentVariable("TICKWELL_RIG_MONITOR");
    return monitor.isEmpty() ? QStringLiteral("tickwell_null.monitor") : monitor;
}

QStringList parecArguments(const QString &monitor = monitorSource(), const QString &channelMap = {})
{
    QStringList arguments{QStringLiteral("-d"), monitor, QStringLiteral("--raw"),
        QStringLiteral("--format=s16le"), QStringLiteral("--rate=%1").arg(MonitorRecording::kRate),
        QStringLiteral("--latency-msec=20")};
    if (channelMap.isEmpty())
        return arguments << QStringLiteral("--channels=1");
    return arguments << QStringLiteral("--channels=%1").arg(channelMap.count(QLatin1Char(',')) + 1)
                     << QStringLiteral("--channel-map=") + channelMap;
}

// Waits until the file holds more than bytes.
bool waitForGrowth(const QString &path, qint64 bytes, int timeoutMs)
{
    return QTest::qWaitFor([&] { return QFileInfo(path).size() > bytes; }, timeoutMs);
}

} // namespace

MonitorRecording::MonitorRecording()
    : m_arguments(parecArguments())
{
}

MonitorRecording::MonitorRecording(const QString &monitor, const QString &channelMap)
    : m_arguments(parecArguments(monitor, channelMap))
{
}

MonitorRecording::~MonitorRecording()
{
    if (m_parec.state() != QProcess::NotRunning) {
        m_parec.kill();
        m_parec.waitForFinished(5000);
    }
}

QString MonitorRecording::start()
{
    if (!m_dir.isValid())
        return QStringLiteral("no temporary directory");
    const QString path = m_dir.filePath(QStringLiteral("monitor.raw"));
    m_parec.setStandardOutputFile(path);
    m_parec.start(QStringLiteral("parec"), m_arguments);
    if (!m_parec.waitForStarted(10000))
        return QStringLiteral("parec did not start: ") + m_parec.errorString();
    if (!waitForGrowth(path, 0, 10000))
        return QStringLiteral("no samples from %1").arg(m_arguments.value(1));
    return {};
}

std::vector<float> MonitorRecording::stop()
{
    QTest::qWait(300);
    m_parec.terminate();
    if (!m_parec.waitForFinished(5000)) {
        m_parec.kill();
        m_parec.waitForFinished(5000);
    }
    QFile file(m_dir.filePath(QStringLiteral("monitor.raw")));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    std::vector<float> samples(static_cast<std::size_t>(bytes.size()) / 2);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        std::int16_t value;
        std::memcpy(&value, bytes.constData() + 2 * i, 2);
        samples[i] = static_cast<float>(value) / 32768.0F;
    }
    return samples;
}

std::vector<float> MonitorRecording::channel(const std::vector<float> &frames, int index, int channels)
{
    std::vector<float> samples;
    for (std::size_t i = static_cast<std::size_t>(index); i < frames.size(); i += static_cast<std::size_t>(channels))
        samples.push_back(frames[i]);
    return samples;
}

QString MonitorRecording::keepSinkRunning(QProcess &silence, const QString &sink)
{
    silence.setStandardInputFile(QStringLiteral("/dev/zero"));
    QStringList arguments{QStringLiteral("--raw"), QStringLiteral("--latency-msec=20")};
    if (!sink.isEmpty())
        arguments << QStringLiteral("-d") << sink;
    silence.start(QStringLiteral("pacat"), arguments);
    if (!silence.waitForStarted(10000))
        return QStringLiteral("pacat did not start: ") + silence.errorString();

    // The first samples reach the monitor once the long first block is
    // over; from then on they come in small steps.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("settle.raw"));
    QProcess probe;
    probe.setStandardOutputFile(path);
    probe.start(QStringLiteral("parec"),
        sink.isEmpty() ? parecArguments() : parecArguments(sink + QStringLiteral(".monitor")));
    if (!probe.waitForStarted(10000))
        return QStringLiteral("parec did not start: ") + probe.errorString();
    const bool flowing = waitForGrowth(path, 0, 15000);
    QElapsedTimer clock;
    clock.start();
    const qint64 first = QFileInfo(path).size();
    // Steady: 200 ms later the recording has grown by about 200 ms.
    const bool steady = flowing && waitForGrowth(path, first + kRate * 2 / 10, 5000);
    probe.kill();
    probe.waitForFinished(5000);
    if (!steady)
        return QStringLiteral("the null sink's monitor does not deliver samples");
    return {};
}
