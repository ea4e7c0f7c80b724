#pragma once

#include <vector>

// Where and how a sine tone sounds in a recording.
struct ToneSpan
{
    double beginMs;
    double endMs;
    double lengthMs() const { return endMs - beginMs; }
};

class ToneAnalysis
{
public:
    ToneAnalysis(const std::vector<float> &samples, int rate);

    // The stretches in which frequencyHz sounds at no less than half its
    // loudest level, found in 20 ms windows 5 ms apart: a window straddling an
    // edge reaches half the level when its middle is on the edge. Tones below
    // minimumLevel (amplitude, full scale 1) do not count.
    std::vector<ToneSpan> spans(double frequencyHz, double minimumLevel = 0.05) const;
    // Frequency from the upward zero crossings inside the stretch, its first
    // and last 20 ms left out.
    double frequency(const ToneSpan &span) const;
    // Amplitude of frequencyHz over the stretch (full scale 1), its first and
    // last 20 ms left out.
    double amplitude(const ToneSpan &span, double frequencyHz) const;
    // Largest absolute sample outside the given stretches, each widened by
    // marginMs on both sides.
    double peakOutside(const std::vector<ToneSpan> &spans, double marginMs) const;
    double lengthMs() const;

private:
    double level(std::size_t begin, std::size_t count, double frequencyHz) const;
    std::size_t index(double ms) const;

    const std::vector<float> &m_samples;
    int m_rate;
};
