#pragma once

#include "AudioOutput.h"

#include <atomic>
#include <cstdint>
#include <vector>

struct pa_context;
struct pa_operation;
struct pa_stream;
struct pa_threaded_mainloop;

// Audio through the PulseAudio client library. The connection to the server
// is kept while it lasts; a start that finds it lost (the server was killed
// or restarted) connects again, so the sound comes back with the server.
// Frames are pulled from the source on the client library's own thread,
// which keeps playing while the program's event loop is held.
class PulseAudioOutput final : public AudioOutput
{
public:
    PulseAudioOutput();
    ~PulseAudioOutput() override;

    Start start(const AudioFormat &format, QIODevice *source, int bufferMs) override;
    void pump() override { }
    bool isDone() const override;
    State state() const override;
    void stop() override;

private:
    bool connect();
    void disconnect();
    // Polls check() under the lock until the server has answered; false when
    // it failed or did not answer in time.
    template <typename Check> bool waitFor(Check check);

    static void onStreamState(pa_stream *stream, void *self);
    static void onWritable(pa_stream *stream, std::size_t bytes, void *self);
    static void onDrained(pa_stream *stream, int success, void *self);
    void feed(std::size_t bytes);

    pa_threaded_mainloop *m_loop = nullptr;
    pa_context *m_context = nullptr;
    // Touched under the client library's lock only.
    pa_stream *m_stream = nullptr;
    pa_operation *m_drain = nullptr;
    QIODevice *m_source = nullptr;
    int m_frameBytes = 0;
    std::vector<char> m_chunk;
    // Read without the lock.
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_done{false};
    std::atomic<bool> m_failed{false};
};
