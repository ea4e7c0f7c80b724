#pragma once

#include <memory>

class AudioOutput;

// A sine tone on the default audio output that plays to its end while the
// caller waits, like the system beep.
class TonePlayer final
{
public:
    TonePlayer();
    ~TonePlayer();
    TonePlayer(const TonePlayer &) = delete;
    TonePlayer &operator=(const TonePlayer &) = delete;

    // Returns once the tone has been played out; false at once when there is
    // no audio output to play it on.
    bool play(int frequencyHz, int durationMs);

private:
    std::unique_ptr<AudioOutput> m_output;
};
