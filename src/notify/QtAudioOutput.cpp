#include "QtAudioOutput.h"

#include <QAudioSink>
#include <QMediaDevices>

#include <algorithm>
#include <cstring>

namespace {

constexpr int kFeedEveryMs = 10;

QAudioFormat::AudioChannelPosition toQt(AudioFormat::Channel channel)
{
    using C = AudioFormat::Channel;
    switch (channel) {
    case C::Mono:
    case C::FrontCenter:
        return QAudioFormat::FrontCenter;
    case C::FrontLeft:
        return QAudioFormat::FrontLeft;
    case C::FrontRight:
        return QAudioFormat::FrontRight;
    case C::Lfe:
        return QAudioFormat::LFE;
    case C::BackLeft:
        return QAudioFormat::BackLeft;
    case C::BackRight:
        return QAudioFormat::BackRight;
    case C::FrontLeftOfCenter:
        return QAudioFormat::FrontLeftOfCenter;
    case C::FrontRightOfCenter:
        return QAudioFormat::FrontRightOfCenter;
    case C::BackCenter:
        return QAudioFormat::BackCenter;
    case C::SideLeft:
        return QAudioFormat::SideLeft;
    case C::SideRight:
        return QAudioFormat::SideRight;
    case C::TopCenter:
        return QAudioFormat::TopCenter;
    case C::TopFrontLeft:
        return QAudioFormat::TopFrontLeft;
    case C::TopFrontCenter:
        return QAudioFormat::TopFrontCenter;
    case C::TopFrontRight:
        return QAudioFormat::TopFrontRight;
    case C::TopBackLeft:
        return QAudioFormat::TopBackLeft;
    case C::TopBackCenter:
        return QAudioFormat::TopBackCenter;
    case C::TopBackRight:
        return QAudioFormat::TopBackRight;
    case C::Aux:
        break;
    }
    return QAudioFormat::UnknownPosition;
}

QAudioFormat toQt(const AudioFormat &format)
{
    QAudioFormat qt;
    qt.setSampleRate(format.sampleRate);
    switch (format.sample) {
    case AudioFormat::Sample::UInt8:
        qt.setSampleFormat(QAudioFormat::UInt8);
        break;
    case AudioFormat::Sample::Int16:
        qt.setSampleFormat(QAudioFormat::Int16);
        break;
    case AudioFormat::Sample::Int32:
        qt.setSampleFormat(QAudioFormat::Int32);
        break;
    case AudioFormat::Sample::Float:
        qt.setSampleFormat(QAudioFormat::Float);
        break;
    }
    // Qt names a layout by the set of its positions, each in a fixed place
    // in the frame; channels in another order keep only their count.
    quint32 config = 0;
    int last = QAudioFormat::UnknownPosition;
    for (AudioFormat::Channel channel : format.channels) {
        const int position = toQt(channel);
        if (position <= last) {
            config = 0;
            break;
        }
        config |= 1U << position;
        last = position;
    }
    if (config != 0)
        qt.setChannelConfig(QAudioFormat::ChannelConfig(config));
    else
        qt.setChannelCount(format.channelCount());
    return qt;
}

} // namespace

QtAudioOutput::QtAudioOutput()
{
    m_feeder.setInterval(kFeedEveryMs);
    QObject::connect(&m_feeder, &QTimer::timeout, [this] { pump(); });
}

QtAudioOutput::~QtAudioOutput()
{
    stop();
}

AudioOutput::Start QtAudioOutput::start(const AudioFormat &audioFormat, QIODevice *source, int bufferMs)
{
    stop();
    const QAudioFormat format = toQt(audioFormat);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull())
        return Start::NoOutput;
    if (!source || !format.isValid())
        return Start::CannotOpen;
    m_sink = std::make_unique<QAudioSink>(device, format);
    m_sink->setBufferSize(format.bytesForDuration(static_cast<qint64>(bufferMs) * 1000));
    m_output = m_sink->start();
    if (!m_output || m_sink->error() != QAudio::NoError) {
        stop();
        return Start::CannotOpen;
    }
    m_source = source;
    m_format = format;
    m_sourceBytes = 0;
    m_sourceEnded = false;
    m_done = false;
    pump();
    m_feeder.start();
    return Start::Started;
}

void QtAudioOutput::pump()
{
    if (!m_sink || m_done)
        return;
    if (m_sink->state() == QAudio::StoppedState) {
        m_done = true; // the output went away
        return;
    }
    const int frameBytes = std::max(1, m_format.bytesPerFrame());
    for (;;) {
        const qint64 room = m_sink->bytesFree();
        const qint64 chunk = room - room % frameBytes;
        if (chunk <= 0)
            break;
        m_chunk.resize(static_cast<std::size_t>(chunk));
        qint64 got = 0;
        if (!m_sourceEnded) {
            got = m_source->read(m_chunk.data(), chunk);
            got = got > 0 ? got - got % frameBytes : 0;
            m_sourceEnded = got == 0;
            m_sourceBytes += got;
        }
        if (m_sourceEnded) {
            const qint64 sourceUs = m_sourceBytes / frameBytes * 1000000 / std::max(1, m_format.sampleRate());
            if (m_sink->processedUSecs() >= sourceUs) {
                m_done = true;
                break;
            }
            std::memset(m_chunk.data(), 0, m_chunk.size());
            got = chunk;
        }
        const qint64 written = m_output->write(m_chunk.data(), got);
        if (written < got)
            break;
    }
}

bool QtAudioOutput::isDone() const
{
    return m_done || !m_sink;
}

AudioOutput::State QtAudioOutput::state() const
{
    if (!m_sink)
        return State::Stopped;
    if (m_done)
        return State::Idle;
    switch (m_sink->state()) {
    case QAudio::ActiveState:
    case QAudio::SuspendedState:
        return State::Active;
    case QAudio::IdleState:
        return State::Idle;
    case QAudio::StoppedState:
        break;
    }
    return State::Stopped;
}

void QtAudioOutput::stop()
{
    m_feeder.stop();
    m_source = nullptr;
    m_output = nullptr;
    if (m_sink) {
        // Stopping drops what is still queued. Deleting a sink runs the
        // event loop, so the loop deletes it later.
        m_sink->stop();
        m_sink.release()->deleteLater();
    }
}
