#pragma once

#include "WavFileChooser.h"

// The file-open dialog for a WAV file: titled "再生するファイルを選択して下さい。",
// one filter "ｳｪﾌﾞ(*.wav)", "*.wav" as the initial name and "wav" as the
// default suffix. It has no parent window and runs modally.
class WavFileDialogChooser final : public WavFileChooser
{
public:
    std::optional<QString> chooseWavFile() override;
};
