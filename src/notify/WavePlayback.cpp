#include "WavePlayback.h"

#include "MessagePresenter.h"
#include "WaveFileStream.h"

#include <QAudioSink>
#include <QMediaDevices>

namespace {

// The output is fed from a timer of the event loop, and a beep holds that loop
// for half a second; what the audio server holds must carry the file through
// it. PulseAudio grants about half the buffer asked for (the rest is latency
// it keeps at the sink), so this asks for two seconds to hold one.
constexpr int kBufferMs = 2000;

} // namespace

WavePlayback::WavePlayback(MessagePresenter &messages)
    : m_messages(messages)
{
}

WavePlayback::~WavePlayback()
{
    // The program is going: the sink goes now, with the file after it.
    if (m_sink)
        m_sink->stop();
    m_sink.reset();
    m_stream.reset();
}

bool WavePlayback::open(const QString &path)
{
    release();
    m_stream = WaveFileStream::open(path);
    return m_stream != nullptr;
}

bool WavePlayback::play()
{
    if (!m_stream)
        return false;
    if (m_sink) {
        m_sink->stop();
        m_sink.release()->deleteLater();
    }
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull()) {
        m_messages.ShowMessage(
            QStringLiteral("音声の出力装置が見つからないため、wavファイルを再生できません。"),
            MessagePresenter::Icon::Warning);
        return false;
    }
    const QAudioFormat format = m_stream->format();
    const qint64 bufferBytes = static_cast<qint64>(format.bytesForDuration(kBufferMs * 1000));
    if (!m_stream->rewind(bufferBytes)) {
        m_messages.ShowMessage(QStringLiteral("wavファイルを先頭から読み出せないため、再生できません。"),
            MessagePresenter::Icon::Warning);
        return false;
    }
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(bufferBytes);
    m_sink->start(m_stream.get());
    if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
        m_sink->stop();
        m_messages.ShowMessage(QStringLiteral("音声の出力装置を開けないため、wavファイルを再生できません。"),
            MessagePresenter::Icon::Warning);
        return false;
    }
    return true;
}

void WavePlayback::close()
{
    if (!release()) {
        m_messages.ShowMessage(
            QStringLiteral("wavファイルを正しく閉じられませんでした。"), MessagePresenter::Icon::Warning);
    }
}

QAudio::State WavePlayback::outputState() const
{
    return m_sink ? m_sink->state() : QAudio::StoppedState;
}

bool WavePlayback::release()
{
    if (m_sink) {
        // Stopping drops what the server still holds: the sound ends here.
        // Deleting a sink runs the event loop, so the loop deletes it later.
        m_sink->stop();
        m_sink.release()->deleteLater();
    }
    bool closed = true;
    if (m_stream) {
        closed = m_stream->closeFile();
        m_stream.reset();
    }
    return closed;
}
