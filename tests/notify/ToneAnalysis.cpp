#include "ToneAnalysis.h"

#include <algorithm>
#include <cmath>
#include <numbers>

ToneAnalysis::ToneAnalysis(const std::vector<float> &samples, int rate)
    : m_samples(samples)
    , m_rate(rate)
{
}

double ToneAnalysis::lengthMs() const
{
    return 1000.0 * static_cast<double>(m_samples.size()) / m_rate;
}

std::size_t ToneAnalysis::index(double ms) const
{
    const double i = std::clamp(ms * m_rate / 1000.0, 0.0, static_cast<double>(m_samples.size()));
    return static_cast<std::size_t>(i);
}

// Goertzel: the amplitude of one frequency in a window.
double ToneAnalysis::level(std::size_t begin, std::size_t count, double frequencyHz) const
{
    const double coefficient = 2.0 * std::cos(2.0 * std::numbers::pi * frequencyHz / m_rate);
    double s1 = 0.0;
    double s2 = 0.0;
    for (std::size_t i = begin; i < begin + count; ++i) {
        const double s0 = m_samples[i] + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    const double power = s1 * s1 + s2 * s2 - coefficient * s1 * s2;
    return 2.0 * std::sqrt(std::max(power, 0.0)) / static_cast<double>(count);
}

std::vector<ToneSpan> ToneAnalysis::spans(double frequencyHz, double minimumLevel) const
{
    const std::size_t window = static_cast<std::size_t>(m_rate) / 50;
    const std::size_t hop = static_cast<std::size_t>(m_rate) / 200;
    std::vector<double> levels;
    for (std::size_t begin = 0; begin + window <= m_samples.size(); begin += hop)
        levels.push_back(level(begin, window, frequencyHz));
    if (levels.empty())
        return {};
    const double loudest = *std::max_element(levels.begin(), levels.end());
    if (loudest < minimumLevel)
        return {};
    const double threshold = loudest / 2.0;

    std::vector<ToneSpan> result;
    // An edge lies between the middles of the last window off and the first
    // one on: half a step before the first, half a step after the last.
    const auto middleMs
        = [&](std::size_t k) { return 1000.0 * static_cast<double>(k * hop + window / 2) / m_rate; };
    const double halfStepMs = 500.0 * static_cast<double>(hop) / m_rate;
    bool inside = false;
    for (std::size_t k = 0; k < levels.size(); ++k) {
        const bool on = levels[k] >= threshold;
        if (on && !inside)
            result.push_back({middleMs(k) - halfStepMs, middleMs(k) + halfStepMs});
        if (on)
            result.back().endMs = middleMs(k) + halfStepMs;
        inside = on;
    }
    return result;
}

double ToneAnalysis::frequency(const ToneSpan &span) const
{
    // Away from the edges, where the tone fades in and out and the ringing
    // of resampling crosses zero at random.
    const std::size_t begin = index(span.beginMs + 20.0);
    const std::size_t end = index(span.endMs - 20.0);
    if (end <= begin + 1)
        return 0.0;
    float peak = 0.0F;
    for (std::size_t i = begin; i < end; ++i)
        peak = std::max(peak, std::fabs(m_samples[i]));
    // An upward crossing counts only after the wave has been well below zero.
    const float armBelow = -0.2F * peak;
    bool armed = false;
    double first = 0.0;
    double last = 0.0;
    int crossings = 0;
    for (std::size_t i = begin + 1; i < end; ++i) {
        const float a = m_samples[i - 1];
        const float b = m_samples[i];
        if (b < armBelow)
            armed = true;
        if (armed && a < 0.0F && b >= 0.0F) {
            const double at = static_cast<double>(i - 1) + a / (a - b);
            if (crossings == 0)
                first = at;
            last = at;
            ++crossings;
            armed = false;
        }
    }
    if (crossings < 2)
        return 0.0;
    return (crossings - 1) * static_cast<double>(m_rate) / (last - first);
}

double ToneAnalysis::amplitude(const ToneSpan &span, double frequencyHz) const
{
    const std::size_t begin = index(span.beginMs + 20.0);
    const std::size_t end = index(span.endMs - 20.0);
    return end > begin ? level(begin, end - begin, frequencyHz) : 0.0;
}

double ToneAnalysis::peakOutside(const std::vector<ToneSpan> &spans, double marginMs) const
{
    std::vector<bool> masked(m_samples.size(), false);
    for (const ToneSpan &span : spans) {
        const std::size_t end = index(span.endMs + marginMs);
        for (std::size_t i = index(span.beginMs - marginMs); i < end; ++i)
            masked[i] = true;
    }
    double peak = 0.0;
    for (std::size_t i = 0; i < m_samples.size(); ++i) {
        if (!masked[i])
            peak = std::max(peak, static_cast<double>(std::fabs(m_samples[i])));
    }
    return peak;
}
