#include "tests/hosts/common/AudioFiles.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace
{
constexpr int kFloatBits = 32;
}

std::vector<float> MultichannelAudio::peaks() const
{
    std::vector<float> result;
    for (const auto& channel : channels)
    {
        float peak = 0.0f;
        for (float sample : channel)
            peak = std::max(peak, std::abs(sample));
        result.push_back(peak);
    }
    return result;
}

bool MultichannelAudio::allFinite() const
{
    return std::all_of(channels.begin(), channels.end(),
                       [](const auto& channel)
                       {
                           return std::all_of(channel.begin(), channel.end(),
                                              [](float sample) { return std::isfinite(sample); });
                       });
}

MultichannelAudio readWav(const std::string& path)
{
    const juce::File file(juce::File::getCurrentWorkingDirectory().getChildFile(path));
    std::unique_ptr<juce::FileInputStream> stream = file.createInputStream();
    if (stream == nullptr)
        throw std::runtime_error("cannot open " + path);

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader(wav.createReaderFor(stream.release(), true));
    if (reader == nullptr)
        throw std::runtime_error(path + " is not a WAV file");
    if (reader->lengthInSamples > std::numeric_limits<int>::max())
        throw std::runtime_error(path + " is too long");

    MultichannelAudio audio;
    audio.sampleRate = reader->sampleRate;
    const int frames = int(reader->lengthInSamples);
    audio.channels.assign(reader->numChannels, std::vector<float>(size_t(frames)));
    std::vector<float*> destinations;
    for (auto& channel : audio.channels)
        destinations.push_back(channel.data());
    if (!reader->read(destinations.data(), int(destinations.size()), 0, frames))
        throw std::runtime_error("cannot read the samples of " + path);
    return audio;
}

void writeWav(const std::string& path, const MultichannelAudio& audio)
{
    const juce::File file(juce::File::getCurrentWorkingDirectory().getChildFile(path));
    // A file output stream appends to what is there.
    if (file.exists() && !file.deleteFile())
        throw std::runtime_error("cannot replace " + path);
    std::unique_ptr<juce::FileOutputStream> stream = file.createOutputStream();
    if (stream == nullptr)
        throw std::runtime_error("cannot create " + path);

    juce::WavAudioFormat wav;
    const auto layout = juce::AudioChannelSet::discreteChannels(int(audio.channels.size()));
    std::unique_ptr<juce::AudioFormatWriter> writer(
        wav.createWriterFor(stream.get(), audio.sampleRate, layout, kFloatBits, {}, 0));
    if (writer == nullptr)
        throw std::runtime_error("cannot write a WAV file to " + path);
    stream.release(); // the writer owns the stream now

    std::vector<const float*> sources;
    for (const auto& channel : audio.channels)
        sources.push_back(channel.data());
    if (!writer->writeFromFloatArrays(sources.data(), int(sources.size()), int(audio.frames())))
        throw std::runtime_error("cannot write the samples of " + path);
}
