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

WavePlayback::WavePlayback(MessagePresenter &messages)
    : m_messages(messages)
    , m_output(AudioOutput::create())
{
}

WavePlayback::~WavePlayback()
{
    // The program is going: the output goes now, with the file after it.
    m_output->stop();
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
    m_output->stop();
    if (!m_stream->rewind()) {
        m_messages.ShowMessage(QStringLiteral("wavファイルを先頭から読み出せないため、再生できません。"),
            MessagePresenter::Icon::Warning);
        return false;
    }
    switch (m_output->start(m_stream->format(), m_stream.get(), kBufferMs)) {
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

AudioOutput::State WavePlayback::outputState() const
{
    return m_output->state();
}

bool WavePlayback::release()
{
    // Stopping drops what the server still holds: the sound ends here.
    m_output->stop();
    bool closed = true;
    if (m_stream) {
        closed = m_stream->closeFile();
        m_stream.reset();
    }
    return closed;
}
