#include "TonePlayer.h"

#include <windows.h>

// The system beep blocks for its whole length by itself.
struct TonePlayer::Output
{
};

TonePlayer::TonePlayer() = default;

TonePlayer::~TonePlayer() = default;

bool TonePlayer::play(int frequencyHz, int durationMs)
{
    if (durationMs <= 0)
        return false;
    return ::Beep(static_cast<DWORD>(frequencyHz), static_cast<DWORD>(durationMs)) != 0;
}
