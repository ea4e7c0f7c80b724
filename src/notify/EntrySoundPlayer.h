#pragma once

// Plays the sound of one schedule for the monitor. The program plays real
// sounds; tests record which entries asked.
class EntrySoundPlayer
{
public:
    virtual ~EntrySoundPlayer() = default;

    // index 0..9 of the entry in the document's table. Returns after a beep
    // has ended, at once when a WAV file has started, and after the user has
    // dismissed a message box when one is shown.
    virtual void PlayEntrySound(int index) = 0;
};
