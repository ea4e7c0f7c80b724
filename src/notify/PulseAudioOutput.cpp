#include "PulseAudioOutput.h"

#include <QElapsedTimer>
#include <QIODevice>
#include <QThread>

#include <pulse/pulseaudio.h>

#include <algorithm>

namespace {

// However the server behaves (gone, refusing, hung), a start holds the caller
// no longer than this.
constexpr int kAnswerTimeoutMs = 2000;
// What the server holds ahead. The client library's thread feeds it, so it
// need not outlast anything the program does.
constexpr int kMaxBufferMs = 250;

bool toSampleSpec(const AudioFormat &format, pa_sample_spec &sampleSpec)
{
    switch (format.sample) {
    case AudioFormat::Sample::UInt8:
        sampleSpec.format = PA_SAMPLE_U8;
        break;
    case AudioFormat::Sample::Int16:
        sampleSpec.format = PA_SAMPLE_S16NE;
        break;
    case AudioFormat::Sample::Int32:
        sampleSpec.format = PA_SAMPLE_S32NE;
        break;
    case AudioFormat::Sample::Float:
        sampleSpec.format = PA_SAMPLE_FLOAT32NE;
        break;
    }
    sampleSpec.rate = static_cast<std::uint32_t>(std::max(0, format.sampleRate));
    sampleSpec.channels = static_cast<std::uint8_t>(std::clamp(format.channelCount(), 0, 255));
    return format.channelCount() <= static_cast<int>(PA_CHANNELS_MAX)
        && pa_sample_spec_valid(&sampleSpec) != 0;
}

pa_channel_position_t toPulse(AudioFormat::Channel channel)
{
    using C = AudioFormat::Channel;
    switch (channel) {
    case C::Mono:
        return PA_CHANNEL_POSITION_MONO;
    case C::FrontLeft:
        return PA_CHANNEL_POSITION_FRONT_LEFT;
    case C::FrontRight:
        return PA_CHANNEL_POSITION_FRONT_RIGHT;
    case C::FrontCenter:
        return PA_CHANNEL_POSITION_FRONT_CENTER;
    case C::Lfe:
        return PA_CHANNEL_POSITION_LFE;
    case C::BackLeft:
        return PA_CHANNEL_POSITION_REAR_LEFT;
    case C::BackRight:
        return PA_CHANNEL_POSITION_REAR_RIGHT;
    case C::FrontLeftOfCenter:
        return PA_CHANNEL_POSITION_FRONT_LEFT_OF_CENTER;
    case C::FrontRightOfCenter:
        return PA_CHANNEL_POSITION_FRONT_RIGHT_OF_CENTER;
    case C::BackCenter:
        return PA_CHANNEL_POSITION_REAR_CENTER;
    case C::SideLeft:
        return PA_CHANNEL_POSITION_SIDE_LEFT;
    case C::SideRight:
        return PA_CHANNEL_POSITION_SIDE_RIGHT;
    case C::TopCenter:
        return PA_CHANNEL_POSITION_TOP_CENTER;
    case C::TopFrontLeft:
        return PA_CHANNEL_POSITION_TOP_FRONT_LEFT;
    case C::TopFrontCenter:
        return PA_CHANNEL_POSITION_TOP_FRONT_CENTER;
    case C::TopFrontRight:
        return PA_CHANNEL_POSITION_TOP_FRONT_RIGHT;
    case C::TopBackLeft:
        return PA_CHANNEL_POSITION_TOP_REAR_LEFT;
    case C::TopBackCenter:
        return PA_CHANNEL_POSITION_TOP_REAR_CENTER;
    case C::TopBackRight:
        return PA_CHANNEL_POSITION_TOP_REAR_RIGHT;
    case C::Aux:
        break;
    }
    return PA_CHANNEL_POSITION_AUX0;
}

// The stream's channels where the format puts them, so that the server plays
// each on its own speaker, or mixes it into the ones the output has.
pa_channel_map toChannelMap(const AudioFormat &format)
{
    pa_channel_map map;
    pa_channel_map_init(&map);
    map.channels = static_cast<std::uint8_t>(format.channelCount());
    int aux = 0;
    for (int i = 0; i < format.channelCount(); ++i) {
        pa_channel_position_t position = toPulse(format.channels[static_cast<std::size_t>(i)]);
        if (position == PA_CHANNEL_POSITION_AUX0)
            position = static_cast<pa_channel_position_t>(PA_CHANNEL_POSITION_AUX0 + aux++);
        map.map[i] = position;
    }
    return map;
}

// What a wait for the server has come to.
enum class Answer {
    Pending,
    Ready,
    Failed,
};

Answer contextAnswer(pa_context *context)
{
    switch (pa_context_get_state(context)) {
    case PA_CONTEXT_READY:
        return Answer::Ready;
    case PA_CONTEXT_FAILED:
    case PA_CONTEXT_TERMINATED:
        return Answer::Failed;
    default:
        return Answer::Pending;
    }
}

Answer streamAnswer(pa_stream *stream)
{
    switch (pa_stream_get_state(stream)) {
    case PA_STREAM_READY:
        return Answer::Ready;
    case PA_STREAM_FAILED:
    case PA_STREAM_TERMINATED:
        return Answer::Failed;
    default:
        return Answer::Pending;
    }
}

class LoopLock
{
public:
    explicit LoopLock(pa_threaded_mainloop *loop)
        : m_loop(loop)
    {
        pa_threaded_mainloop_lock(m_loop);
    }
    ~LoopLock() { pa_threaded_mainloop_unlock(m_loop); }
    LoopLock(const LoopLock &) = delete;
    LoopLock &operator=(const LoopLock &) = delete;

private:
    pa_threaded_mainloop *m_loop;
};

} // namespace

PulseAudioOutput::PulseAudioOutput() = default;

PulseAudioOutput::~PulseAudioOutput()
{
    stop();
    disconnect();
}

template <typename Check> bool PulseAudioOutput::waitFor(Check check)
{
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        Answer answer = Answer::Pending;
        {
            const LoopLock lock(m_loop);
            answer = check();
        }
        if (answer != Answer::Pending)
            return answer == Answer::Ready;
        if (clock.elapsed() >= kAnswerTimeoutMs)
            return false;
        QThread::msleep(1);
    }
}

bool PulseAudioOutput::connect()
{
    if (m_context) {
        bool ready = false;
        {
            const LoopLock lock(m_loop);
            ready = pa_context_get_state(m_context) == PA_CONTEXT_READY;
        }
        if (ready)
            return true;
        // Lost: the server went away, or was restarted. Start afresh.
        disconnect();
    }
    m_loop = pa_threaded_mainloop_new();
    if (!m_loop)
        return false;
    if (pa_threaded_mainloop_start(m_loop) < 0) {
        pa_threaded_mainloop_free(m_loop);
        m_loop = nullptr;
        return false;
    }
    bool connecting = false;
    {
        const LoopLock lock(m_loop);
        m_context = pa_context_new(pa_threaded_mainloop_get_api(m_loop), "Tickwell");
        connecting
            = m_context && pa_context_connect(m_context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) >= 0;
    }
    if (!connecting || !waitFor([this] { return contextAnswer(m_context); })) {
        disconnect();
        return false;
    }
    return true;
}

void PulseAudioOutput::disconnect()
{
    if (!m_loop)
        return;
    {
        const LoopLock lock(m_loop);
        if (m_context) {
            pa_context_disconnect(m_context);
            pa_context_unref(m_context);
            m_context = nullptr;
        }
    }
    pa_threaded_mainloop_stop(m_loop);
    pa_threaded_mainloop_free(m_loop);
    m_loop = nullptr;
}

AudioOutput::Start PulseAudioOutput::start(const AudioFormat &format, QIODevice *source, int bufferMs)
{
    stop();
    pa_sample_spec sampleSpec{};
    if (!source || !toSampleSpec(format, sampleSpec))
        return Start::CannotOpen;
    if (!connect())
        return Start::CannotOpen;

    const pa_channel_map map = toChannelMap(format);
    const int aheadMs = std::clamp(bufferMs, 20, kMaxBufferMs);
    pa_buffer_attr attr;
    attr.maxlength = static_cast<std::uint32_t>(-1);
    attr.tlength
        = static_cast<std::uint32_t>(pa_usec_to_bytes(static_cast<pa_usec_t>(aheadMs) * 1000, &sampleSpec));
    attr.prebuf = static_cast<std::uint32_t>(-1);
    attr.minreq = static_cast<std::uint32_t>(-1);
    attr.fragsize = static_cast<std::uint32_t>(-1);

    m_done = false;
    m_failed = false;
    bool connecting = false;
    {
        const LoopLock lock(m_loop);
        m_source = source;
        m_frameBytes = static_cast<int>(pa_frame_size(&sampleSpec));
        m_stream = pa_stream_new(m_context, "Tickwell", &sampleSpec, &map);
        if (m_stream) {
            pa_stream_set_state_callback(m_stream, &PulseAudioOutput::onStreamState, this);
            pa_stream_set_write_callback(m_stream, &PulseAudioOutput::onWritable, this);
            connecting
                = pa_stream_connect_playback(m_stream, nullptr, &attr, PA_STREAM_NOFLAGS, nullptr, nullptr)
                >= 0;
        }
    }
    if (connecting && waitFor([this] { return streamAnswer(m_stream); })) {
        m_running = true;
        return Start::Started;
    }

    int error = PA_OK;
    {
        const LoopLock lock(m_loop);
        error = pa_context_errno(m_context);
    }
    stop();
    // A server with no output to play on refuses the stream for want of one.
    return error == PA_ERR_NOENTITY ? Start::NoOutput : Start::CannotOpen;
}

bool PulseAudioOutput::isDone() const
{
    return m_done || m_failed;
}

AudioOutput::State PulseAudioOutput::state() const
{
    if (!m_running || m_failed)
        return State::Stopped;
    return m_done ? State::Idle : State::Active;
}

void PulseAudioOutput::stop()
{
    m_running = false;
    if (!m_loop)
        return;
    const LoopLock lock(m_loop);
    if (m_drain) {
        pa_operation_cancel(m_drain);
        pa_operation_unref(m_drain);
        m_drain = nullptr;
    }
    if (m_stream) {
        pa_stream_set_state_callback(m_stream, nullptr, nullptr);
        pa_stream_set_write_callback(m_stream, nullptr, nullptr);
        // The server drops what it still holds: the sound ends here.
        pa_stream_disconnect(m_stream);
        pa_stream_unref(m_stream);
        m_stream = nullptr;
    }
    m_source = nullptr;
}

void PulseAudioOutput::onStreamState(pa_stream *stream, void *self)
{
    const pa_stream_state_t state = pa_stream_get_state(stream);
    if (state == PA_STREAM_FAILED || state == PA_STREAM_TERMINATED)
        static_cast<PulseAudioOutput *>(self)->m_failed = true;
}

void PulseAudioOutput::onWritable(pa_stream *, std::size_t bytes, void *self)
{
    static_cast<PulseAudioOutput *>(self)->feed(bytes);
}

void PulseAudioOutput::onDrained(pa_stream *, int, void *self)
{
    static_cast<PulseAudioOutput *>(self)->m_done = true;
}

void PulseAudioOutput::feed(std::size_t bytes)
{
    while (m_source && !m_drain && bytes >= static_cast<std::size_t>(m_frameBytes)) {
        m_chunk.resize(bytes);
        qint64 got = m_source->read(m_chunk.data(), static_cast<qint64>(bytes));
        if (got > 0)
            got -= got % m_frameBytes;
        if (got <= 0) {
            // The source has ended. Play out what the server holds, even a
            // clip shorter than what it waits for before it starts.
            pa_stream_set_write_callback(m_stream, nullptr, nullptr);
            if (pa_operation *trigger = pa_stream_trigger(m_stream, nullptr, nullptr))
                pa_operation_unref(trigger);
            m_drain = pa_stream_drain(m_stream, &PulseAudioOutput::onDrained, this);
            if (!m_drain)
                m_failed = true;
            return;
        }
        if (pa_stream_write(
                m_stream, m_chunk.data(), static_cast<std::size_t>(got), nullptr, 0, PA_SEEK_RELATIVE)
            < 0) {
            m_failed = true;
            return;
        }
        bytes -= static_cast<std::size_t>(got);
    }
}
