#pragma once

#include <memory>

// A tone that plays to its end while the caller waits, like the system beep:
// on Windows the system beep itself, elsewhere a sine tone on the default
// audio output.
class TonePlayer final
{
public:
    TonePlayer();
    ~TonePlayer();
    TonePlayer(const TonePlayer &) = delete;
    TonePlayer &operator=(const TonePlayer &) = delete;

    // Returns once the tone has been played out; false at once when there is
    // nothing to play it on.
    bool play(int frequencyHz, int durationMs);

private:
    struct Output;
    std::unique_ptr<Output> m_output;
};
