#include "TonePlayer.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QElapsedTimer>
#include <QIODevice>
#include <QMediaDevices>
#include <QThread>

#include <cmath>
#include <cstdint>
#include <numbers>
#include <vector>

namespace {

constexpr int kSampleRate = 48000;
constexpr int kBytesPerFrame = 2; // 16-bit mono
constexpr double kAmplitude = 0.5;
// The output's buffer. Qt feeds a sink from a timer of the event loop, which
// does not run while the caller waits, so the tone is written by hand here,
// and silence after it until the server has played the tone out.
constexpr int kBufferMs = 100;
// However slow the machine, the caller is never held longer than this.
constexpr int kGiveUpAfterMs = 3000;

std::vector<std::int16_t> sine(int frequencyHz, int durationMs)
{
    const auto frames = static_cast<std::size_t>(kSampleRate) * durationMs / 1000;
    std::vector<std::int16_t> samples(frames);
    for (std::size_t i = 0; i < frames; ++i) {
        const double phase = 2.0 * std::numbers::pi * frequencyHz * static_cast<double>(i) / kSampleRate;
        samples[i] = static_cast<std::int16_t>(std::lround(kAmplitude * 32767.0 * std::sin(phase)));
    }
    return samples;
}

} // namespace

TonePlayer::TonePlayer() = default;

TonePlayer::~TonePlayer() = default;

bool TonePlayer::ensureSink()
{
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return false;
    if (m_sink && device == m_device)
        return true;
    if (m_sink) {
        // Deleting a sink runs the event loop; let the loop do it later.
        m_sink->stop();
        m_sink.release()->deleteLater();
    }
    QAudioFormat format;
    format.setSampleRate(kSampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(kSampleRate * kBytesPerFrame * kBufferMs / 1000);
    m_device = device;
    return true;
}

bool TonePlayer::play(int frequencyHz, int durationMs)
{
    if (durationMs <= 0 || !ensureSink())
        return false;
    QIODevice *output = m_sink->start();
    if (!output || m_sink->error() != QAudio::NoError) {
        m_sink->stop();
        return false;
    }

    const std::vector<std::int16_t> tone = sine(frequencyHz, durationMs);
    const char *data = reinterpret_cast<const char *>(tone.data());
    const qint64 toneBytes = static_cast<qint64>(tone.size()) * kBytesPerFrame;
    const std::vector<char> silence(static_cast<std::size_t>(m_sink->bufferSize()), 0);
    const qint64 toneUs = static_cast<qint64>(durationMs) * 1000;

    qint64 written = 0;
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < kGiveUpAfterMs) {
        if (written >= toneBytes && m_sink->processedUSecs() >= toneUs)
            break;
        if (m_sink->state() == QAudio::StoppedState)
            break; // the output went away
        const qint64 room = m_sink->bytesFree();
        if (room > 0) {
            const qint64 chunk = room - room % kBytesPerFrame;
            qint64 done = 0;
            if (written < toneBytes)
                done = output->write(data + written, std::min(chunk, toneBytes - written));
            else
                done = output->write(
                    silence.data(), std::min<qint64>(chunk, static_cast<qint64>(silence.size())));
            if (done < 0)
                break;
            if (written < toneBytes)
                written += done;
            if (done > 0)
                continue;
        }
        QThread::msleep(2);
    }
    // Stopping drops what is still queued: only silence by now.
    m_sink->stop();
    return true;
}
