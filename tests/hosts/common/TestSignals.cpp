#include "tests/hosts/common/TestSignals.h"

#include "tests/hosts/common/Arguments.h"

#include <cmath>
#include <numbers>

namespace
{
constexpr int kChannels = 4;
constexpr float kNoiseAmplitude = 0.5f;

constexpr double kToneHz = 440.0;
constexpr double kToneAmplitude = 0.5;
constexpr double kTurnSeconds = 2.0;
constexpr double kElevationSwingSeconds = 5.0;
constexpr double kMaxElevation = std::numbers::pi / 6.0;

/** xorshift32: the same numbers on every machine and library version. */
uint32_t nextRandom(uint32_t& state)
{
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    return state;
}

MultichannelAudio noise(int64_t frames)
{
    MultichannelAudio audio;
    for (int c = 0; c < kChannels; ++c)
    {
        uint32_t state = 0x9e3779b9u * uint32_t(c + 1);
        std::vector<float> channel(static_cast<size_t>(frames));
        for (auto& sample : channel)
            sample =
                (float(nextRandom(state) >> 8) / float(1 << 24) * 2.0f - 1.0f) * kNoiseAmplitude;
        audio.channels.push_back(std::move(channel));
    }
    return audio;
}

MultichannelAudio circling(int64_t frames, double sampleRate)
{
    MultichannelAudio audio;
    audio.channels.assign(kChannels, std::vector<float>(size_t(frames)));
    for (int64_t i = 0; i < frames; ++i)
    {
        const double t = double(i) / sampleRate;
        const double s = kToneAmplitude * std::sin(2.0 * std::numbers::pi * kToneHz * t);
        const double azimuth = 2.0 * std::numbers::pi * t / kTurnSeconds;
        const double elevation =
            kMaxElevation * std::sin(2.0 * std::numbers::pi * t / kElevationSwingSeconds);
        // FuMa: W carries the source 3 dB down; X front, Y left, Z up.
        audio.channels[0][size_t(i)] = float(s * std::numbers::sqrt2 / 2.0);
        audio.channels[1][size_t(i)] = float(s * std::cos(azimuth) * std::cos(elevation));
        audio.channels[2][size_t(i)] = float(s * std::sin(azimuth) * std::cos(elevation));
        audio.channels[3][size_t(i)] = float(s * std::sin(elevation));
    }
    return audio;
}
} // namespace

MultichannelAudio generateSignal(const std::string& name, int64_t frames, double sampleRate)
{
    MultichannelAudio audio;
    if (name == "noise")
        audio = noise(frames);
    else if (name == "circling")
        audio = circling(frames, sampleRate);
    else
        throw UsageError("unknown signal '" + name + "' (known: " + kSignalNames + ")");
    audio.sampleRate = sampleRate;
    return audio;
}
