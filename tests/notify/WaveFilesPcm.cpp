#include "WaveFiles.h"

#include <QFile>
#include <QtEndian>

#include <cmath>
#include <numbers>

// Where there is no sox to run (Windows): the sine written by hand as 16-bit
// PCM, into a WAV file, or an AIFF file when the path ends in ".aiff". Of
// sox's options only the rate ("-r") and the channels ("-c") are taken.
namespace {

QByteArray sineFrames(int frequencyHz, int durationMs, int rate, int channels, bool bigEndian)
{
    const qint64 frames = static_cast<qint64>(rate) * durationMs / 1000;
    QByteArray bytes;
    bytes.reserve(static_cast<qsizetype>(frames * channels * 2));
    for (qint64 i = 0; i < frames; ++i) {
        const auto sample = static_cast<qint16>(
            std::lround(0.5 * 32767.0 * std::sin(2.0 * std::numbers::pi * frequencyHz * i / rate)));
        char two[2];
        if (bigEndian)
            qToBigEndian(sample, two);
        else
            qToLittleEndian(sample, two);
        for (int channel = 0; channel < channels; ++channel)
            bytes.append(two, 2);
    }
    return bytes;
}

template<typename T>
void appendLittle(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

template<typename T>
void appendBig(QByteArray &out, T value)
{
    char bytes[sizeof(T)];
    qToBigEndian(value, bytes);
    out.append(bytes, sizeof(T));
}

QByteArray wave(const QByteArray &data, int rate, int channels)
{
    QByteArray out("RIFF");
    appendLittle<quint32>(out, static_cast<quint32>(36 + data.size()));
    out.append("WAVEfmt ");
    appendLittle<quint32>(out, 16);
    appendLittle<quint16>(out, 1); // PCM
    appendLittle<quint16>(out, static_cast<quint16>(channels));
    appendLittle<quint32>(out, static_cast<quint32>(rate));
    appendLittle<quint32>(out, static_cast<quint32>(rate * channels * 2));
    appendLittle<quint16>(out, static_cast<quint16>(channels * 2));
    appendLittle<quint16>(out, 16);
    out.append("data");
    appendLittle<quint32>(out, static_cast<quint32>(data.size()));
    return out + data;
}

// The rate as an 80-bit extended float, as AIFF keeps it.
QByteArray extended(int rate)
{
    QByteArray out;
    int exponent = 16383 + 31;
    auto mantissa = static_cast<quint64>(rate) << 32;
    while (!(mantissa & (quint64{1} << 63))) {
        mantissa <<= 1;
        --exponent;
    }
    appendBig<quint16>(out, static_cast<quint16>(exponent));
    appendBig<quint64>(out, mantissa);
    return out;
}

QByteArray aiff(const QByteArray &data, int rate, int channels)
{
    QByteArray common;
    appendBig<quint16>(common, static_cast<quint16>(channels));
    appendBig<quint32>(common, static_cast<quint32>(data.size() / (2 * channels)));
    appendBig<quint16>(common, 16);
    common += extended(rate);
    QByteArray out("FORM");
    appendBig<quint32>(out, static_cast<quint32>(4 + 8 + common.size() + 8 + 8 + data.size()));
    out.append("AIFFCOMM");
    appendBig<quint32>(out, static_cast<quint32>(common.size()));
    out += common;
    out.append("SSND");
    appendBig<quint32>(out, static_cast<quint32>(8 + data.size()));
    appendBig<quint32>(out, 0);
    appendBig<quint32>(out, 0);
    return out + data;
}

} // namespace

QString makeSineWave(const QString &path, int frequencyHz, int durationMs, const QStringList &outputOptions)
{
    int rate = 44100;
    int channels = 1;
    for (qsizetype i = 0; i + 1 < outputOptions.size(); ++i) {
        if (outputOptions[i] == QLatin1String("-r"))
            rate = outputOptions[i + 1].toInt();
        else if (outputOptions[i] == QLatin1String("-c"))
            channels = outputOptions[i + 1].toInt();
    }
    if (rate <= 0 || channels <= 0)
        return QStringLiteral("unsupported options %1").arg(outputOptions.join(u' '));
    const bool isAiff = path.endsWith(QLatin1String(".aiff"), Qt::CaseInsensitive);
    const QByteArray data = sineFrames(frequencyHz, durationMs, rate, channels, isAiff);
    QFile file(path);
    const QByteArray contents = isAiff ? aiff(data, rate, channels) : wave(data, rate, channels);
    if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
        return QStringLiteral("cannot write %1").arg(path);
    return {};
}

bool truncateFile(const QString &path, qint64 bytes)
{
    QFile file(path);
    return file.resize(bytes);
}
