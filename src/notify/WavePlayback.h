#pragma once

#include "AudioOutput.h"
#include "CTickwellDoc.h"

#include <QString>

#include <memory>

class MessagePresenter;
class WaveFileStream;

// The one WAV playback of the program: a file opened synchronously, played
// from its start on the default audio output while the program goes on, and
// kept open after it has ended until it is closed.
class WavePlayback final : public WaveDevice
{
public:
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
    // Stops the sound and releases the file and the output.
    void close() override;

    bool isOpen() const { return m_stream != nullptr; }
    // The output's state while open (stopped when none is running).
    AudioOutput::State outputState() const;

private:
    bool release();

    MessagePresenter &m_messages;
    std::unique_ptr<WaveFileStream> m_stream;
    std::unique_ptr<AudioOutput> m_output;
};
