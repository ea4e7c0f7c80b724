#include "WavePlayback.h"

#include "AudioOutput.h"
#include "MessagePresenter.h"
#include "WaveFileStream.h"

namespace {

// Qt's output is fed from the event loop, so it must carry the file through
// the longest time that loop is held: a beep, half a second. PulseAudio grants
// it about half the buffer asked for, so this asks for two seconds to hold
// one. The PulseAudio client output feeds itself and holds far less.
constexpr int kBufferMs = 2000;

} // namespace

struct WavePlayback::Device
{
    std::unique_ptr<WaveFileStream> stream;
    std::unique_ptr<AudioOutput> output = AudioOutput::create();
};

WavePlayback::WavePlayback(MessagePresenter &messages)
    : m_messages(messages)
    , m_device(std::make_unique<Device>())
{
}

WavePlayback::~WavePlayback()
{
    // The program is going: the output goes now, with the file after it.
    m_device->output->stop();
    m_device->stream.reset();
}

bool WavePlayback::open(const QString &path)
{
    release();
    m_device->stream = WaveFileStream::open(path);
    return m_device->stream != nullptr;
}

bool WavePlayback::play()
{
    if (!m_device->stream)
        return false;
    m_device->output->stop();
    if (!m_device->stream->rewind()) {
        m_messages.ShowMessage(QStringLiteral("wavファイルを先頭から読み出せないため、再生できません。"),
            MessagePresenter::Icon::Warning);
        return false;
    }
    switch (m_device->output->start(m_device->stream->format(), m_device->stream.get(), kBufferMs)) {
    case AudioOutput::Start::Started:
        return true;
    case AudioOutput::Start::NoOutput:
        m_messages.ShowMessage(
            QStringLiteral("音声の出力装置が見つからないため、wavファイルを再生できません。"),
            MessagePresenter::Icon::Warning);
        return false;
    case AudioOutput::Start::CannotOpen:
        break;
    }
    m_messages.ShowMessage(QStringLiteral("音声の出力装置を開けないため、wavファイルを再生できません。"),
        MessagePresenter::Icon::Warning);
    return false;
}

void WavePlayback::close()
{
    if (!release()) {
        m_messages.ShowMessage(
            QStringLiteral("wavファイルを正しく閉じられませんでした。"), MessagePresenter::Icon::Warning);
    }
}

bool WavePlayback::isOpen() const
{
    return m_device->stream != nullptr;
}

WavePlayback::State WavePlayback::state() const
{
    switch (m_device->output->state()) {
    case AudioOutput::State::Active:
        return State::Playing;
    case AudioOutput::State::Idle:
        return State::Ended;
    case AudioOutput::State::Stopped:
        break;
    }
    return State::Stopped;
}

bool WavePlayback::release()
{
    // Stopping drops what the server still holds: the sound ends here.
    m_device->output->stop();
    bool closed = true;
    if (m_device->stream) {
        closed = m_device->stream->closeFile();
        m_device->stream.reset();
    }
    return closed;
}
