#pragma once

#include <QString>

#include <optional>

// Asks the user for the WAV file a schedule plays. The program opens a file
// dialog; tests answer at once.
class WavFileChooser
{
public:
    virtual ~WavFileChooser() = default;

    // The full path of the chosen file; nothing when the user cancelled.
    virtual std::optional<QString> chooseWavFile() = 0;
};
