#pragma once

#include "AudioFormat.h"

#include <memory>

class QIODevice;

// A stream of PCM frames to the default audio output, pulled from a source
// device until the source has nothing more to give.
class AudioOutput
{
public:
    enum class Start {
        Started,
        // The audio server runs but has no output to play on.
        NoOutput,
        // The output cannot be reached or refused the stream.
        CannotOpen,
    };

    enum class State {
        // Playing, or about to.
        Active,
        // Everything the source gave has been played out.
        Idle,
        // Nothing runs, or the output failed.
        Stopped,
    };

    // The output of this build: the audio server's own client where there is
    // one, which reaches a server that went away and came back on the next
    // start; Qt's audio output elsewhere.
    static std::unique_ptr<AudioOutput> create();

    virtual ~AudioOutput() = default;

    // Stops what is running, then starts pulling from source and returns
    // without waiting for the sound. bufferMs is how much the output holds
    // ahead; an output fed from the event loop needs it to outlast the
    // longest time the loop is held. Never blocks for long, whatever the
    // audio server does.
    virtual Start start(const AudioFormat &format, QIODevice *source, int bufferMs) = 0;
    // Feeds the output by hand while the caller holds the event loop.
    virtual void pump() = 0;
    // Whether everything the source gave has been played out, or the output
    // failed on the way.
    virtual bool isDone() const = 0;
    virtual State state() const = 0;
    // Ends the sound at once, dropping what the server still holds; the
    // source is not touched after this returns.
    virtual void stop() = 0;

protected:
    AudioOutput() = default;
    AudioOutput(const AudioOutput &) = delete;
    AudioOutput &operator=(const AudioOutput &) = delete;
};
