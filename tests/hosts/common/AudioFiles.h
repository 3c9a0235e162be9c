#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** Non-interleaved audio held by the host: one vector per channel, all of one length. */
struct MultichannelAudio
{
    double sampleRate = 48000.0;
    std::vector<std::vector<float>> channels;

    int64_t frames() const { return channels.empty() ? 0 : int64_t(channels.front().size()); }
    /** Largest absolute sample of each channel. */
    std::vector<float> peaks() const;
    /** No sample is infinite or NaN. */
    bool allFinite() const;
};

/** Reads a WAV file; throws std::runtime_error when it cannot. */
MultichannelAudio readWav(const std::string& path);
/** Writes a 32-bit float WAV with discrete channels, replacing the file. */
void writeWav(const std::string& path, const MultichannelAudio& audio);
