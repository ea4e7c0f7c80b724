#pragma once

#include "CTickwellDoc.h"

#include <QString>

#include <memory>

class MessagePresenter;

// The one WAV playback of the program: a file opened synchronously, played
// from its start while the program goes on, and kept open after it has ended
// until it is closed. On Windows it is the system's waveform-audio device
// (MCI); elsewhere libsndfile reads the file for the default audio output.
class WavePlayback final : public WaveDevice
{
public:
    enum class State {
        Playing, // playing, or about to
        Ended,   // everything has been played out
        Stopped, // nothing open or running, or the output failed
    };

    // Failures to play or to close are reported through messages.
    explicit WavePlayback(MessagePresenter &messages);
    ~WavePlayback() override;
    WavePlayback(const WavePlayback &) = delete;
    WavePlayback &operator=(const WavePlayback &) = delete;

    // false when path names no WAV file that can be played; nothing is shown
    // then. A file still open is closed first, silently.
    bool open(const QString &path);
    // Starts the open file from its beginning and returns at once. On failure
    // the reason is shown and the file stays open.
    bool play();
    // Stops the sound and releases the file and the output; a failure is
    // shown.
    void close() override;

    bool isOpen() const;
    State state() const;

private:
    struct Device;

    // Closes without a word; false when the close failed.
    bool release();

    MessagePresenter &m_messages;
    std::unique_ptr<Device> m_device;
};
