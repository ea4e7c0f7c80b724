#pragma once

#include "EntrySoundPlayer.h"
#include "TonePlayer.h"
#include "WavePlayback.h"

class CTickwellDoc;
class MessagePresenter;

// Plays what an entry's sound field selects: nothing, a 100 Hz beep of half a
// second, or its WAV file. The WAV playback is the document's: the player
// registers it there, so that a new document can close it.
class DocumentSoundPlayer final : public EntrySoundPlayer
{
public:
    DocumentSoundPlayer(CTickwellDoc &doc, MessagePresenter &messages);
    ~DocumentSoundPlayer() override;
    DocumentSoundPlayer(const DocumentSoundPlayer &) = delete;
    DocumentSoundPlayer &operator=(const DocumentSoundPlayer &) = delete;

    void PlayEntrySound(int index) override;
    // Closes the open WAV playback; a failure is shown.
    void CloseWaveDevice();

    const WavePlayback &wavePlayback() const { return m_wave; }

private:
    CTickwellDoc &m_doc;
    MessagePresenter &m_messages;
    TonePlayer m_tone;
    WavePlayback m_wave;
};
