#include "TonePlayer.h"

#include "AudioOutput.h"

#include <QBuffer>
#include <QByteArray>
#include <QElapsedTimer>
#include <QThread>

#include <cmath>
#include <cstdint>
#include <numbers>

namespace {

constexpr int kSampleRate = 48000;
constexpr double kAmplitude = 0.5;
// What the output holds ahead: the caller feeds it by hand while it waits.
constexpr int kBufferMs = 100;
// However slow the machine, the caller is held no longer than the tone and
// this.
constexpr int kGiveUpAfterMs = 2500;

QByteArray sine(int frequencyHz, int durationMs)
{
    const auto frames = static_cast<qsizetype>(static_cast<qint64>(kSampleRate) * durationMs / 1000);
    QByteArray bytes(frames * static_cast<qsizetype>(sizeof(std::int16_t)), Qt::Uninitialized);
    auto *samples = reinterpret_cast<std::int16_t *>(bytes.data());
    for (qsizetype i = 0; i < frames; ++i) {
        const double phase = 2.0 * std::numbers::pi * frequencyHz * static_cast<double>(i) / kSampleRate;
        samples[i] = static_cast<std::int16_t>(std::lround(kAmplitude * 32767.0 * std::sin(phase)));
    }
    return bytes;
}

} // namespace

struct TonePlayer::Output
{
    std::unique_ptr<AudioOutput> device = AudioOutput::create();
};

TonePlayer::TonePlayer()
    : m_output(std::make_unique<Output>())
{
}

TonePlayer::~TonePlayer() = default;

bool TonePlayer::play(int frequencyHz, int durationMs)
{
    if (durationMs <= 0)
        return false;
    QByteArray tone = sine(frequencyHz, durationMs);
    QBuffer source(&tone);
    source.open(QIODevice::ReadOnly);
    AudioFormat format;
    format.sampleRate = kSampleRate;
    format.sample = AudioFormat::Sample::Int16;
    format.channels = {AudioFormat::Channel::Mono};
    if (m_output->device->start(format, &source, kBufferMs) != AudioOutput::Start::Started)
        return false;

    QElapsedTimer clock;
    clock.start();
    while (!m_output->device->isDone() && clock.elapsed() < durationMs + kGiveUpAfterMs) {
        m_output->device->pump();
        QThread::msleep(2);
    }
    // Whatever is still queued is silence by now, or late: drop it.
    m_output->device->stop();
    return true;
}
