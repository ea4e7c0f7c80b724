#pragma once

#include <vector>

// What an audio output is given: interleaved frames of one sample type, one
// sample per channel, each channel meant for one speaker position.
struct AudioFormat
{
    enum class Sample {
        UInt8,
        Int16,
        Int32,
        Float,
    };

    // Speaker positions, named as WAV files name them; Aux is a channel meant
    // for no speaker in particular.
    enum class Channel {
        Mono,
        FrontLeft,
        FrontRight,
        FrontCenter,
        Lfe,
        BackLeft,
        BackRight,
        FrontLeftOfCenter,
        FrontRightOfCenter,
        BackCenter,
        SideLeft,
        SideRight,
        TopCenter,
        TopFrontLeft,
        TopFrontCenter,
        TopFrontRight,
        TopBackLeft,
        TopBackCenter,
        TopBackRight,
        Aux,
    };

    int sampleRate = 0;
    Sample sample = Sample::Int16;
    // In the order of the samples in a frame.
    std::vector<Channel> channels;

    int channelCount() const { return static_cast<int>(channels.size()); }
    int bytesPerSample() const;
    int bytesPerFrame() const { return bytesPerSample() * channelCount(); }
};
