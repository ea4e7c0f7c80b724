#include "WaveFiles.h"

#include <QFile>
#include <QProcess>

#include <sndfile.h>

#include <cmath>
#include <numbers>

QString makeSineWave(const QString &path, int frequencyHz, int durationMs, const QStringList &outputOptions)
{
    return makeChannelTones(path, {frequencyHz}, durationMs, outputOptions);
}

QString makeChannelTones(
    const QString &path, const std::vector<int> &frequenciesHz, int durationMs, const QStringList &outputOptions)
{
    QStringList arguments{QStringLiteral("-n")};
    arguments << outputOptions << path << QStringLiteral("synth")
              << QString::number(durationMs / 1000.0, 'f', 3);
    // sox gives each channel the next tone, and the first to all when there
    // is only one.
    for (int frequencyHz : frequenciesHz)
        arguments << QStringLiteral("sine") << QString::number(frequencyHz);
    arguments << QStringLiteral("vol") << QStringLiteral("0.5");
    QProcess sox;
    sox.start(QStringLiteral("sox"), arguments);
    if (!sox.waitForFinished(30000) || sox.exitStatus() != QProcess::NormalExit || sox.exitCode() != 0)
        return QStringLiteral("sox %1: %2").arg(arguments.join(QLatin1Char(' ')), sox.readAllStandardError());
    return {};
}

QString makeSndfileSineWave(const QString &path, int frequencyHz, int durationMs, int rate, int subtype)
{
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 1;
    info.format = SF_FORMAT_WAV | subtype;
    SNDFILE *file = sf_open(QFile::encodeName(path).constData(), SFM_WRITE, &info);
    if (!file)
        return QStringLiteral("libsndfile cannot write %1: %2").arg(path, QString::fromUtf8(sf_strerror(nullptr)));
    std::vector<float> samples(static_cast<std::size_t>(static_cast<qint64>(rate) * durationMs / 1000));
    for (std::size_t i = 0; i < samples.size(); ++i)
        samples[i] = static_cast<float>(
            0.5 * std::sin(2.0 * std::numbers::pi * frequencyHz * static_cast<double>(i) / rate));
    const sf_count_t written = sf_writef_float(file, samples.data(), static_cast<sf_count_t>(samples.size()));
    if (sf_close(file) != 0 || written != static_cast<sf_count_t>(samples.size()))
        return QStringLiteral("libsndfile could not write all of %1").arg(path);
    return {};
}

bool truncateFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    return file.resize(bytes);
}
