// Renders a 4-channel WAV file through the processor directly, with the block partition and
// settings the test hosts take, and writes a 32-bit float WAV to compare with their renders.
//
//   veridane_render_reference --input FILE --out FILE [--blocks LIST] [--bypass]
//                             [--flush-denormals] [--gain VALUE] [--direction INDEX]
//                             [--change FRAME:gain=VALUE] [--change FRAME:direction=INDEX]

#include "tools/render_reference/ReferenceRenderer.h"

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace
{
constexpr int kChannels = 4;
constexpr int kMaxBlock = 1 << 20;
constexpr int kFloatBits = 32;

struct Options
{
    juce::File input;
    juce::File output;
    std::vector<int> blockLengths{512};
    bool bypass = false;
    bool flushDenormals = false;
    juce::String gain;
    juce::String direction;
    std::vector<ReferenceRenderer::Change> changes;
};

struct BadArguments : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

bool isNumber(const juce::String& text)
{
    char* end = nullptr;
    std::strtod(text.toRawUTF8(), &end);
    return text.isNotEmpty() && *end == 0;
}

bool isInteger(const juce::String& text)
{
    char* end = nullptr;
    std::strtol(text.toRawUTF8(), &end, 10);
    return text.isNotEmpty() && *end == 0;
}

std::vector<int> parseBlocks(const juce::String& text)
{
    juce::StringArray items;
    items.addTokens(text, ",", "");
    std::vector<int> lengths;
    for (const auto& item : items)
    {
        if (!isInteger(item) || item.getIntValue() < 1 || item.getIntValue() > kMaxBlock)
            throw BadArguments("block lengths run from 1 to " + std::to_string(kMaxBlock));
        lengths.push_back(item.getIntValue());
    }
    if (lengths.empty())
        throw BadArguments("empty block list");
    return lengths;
}

/** "FRAME:gain=VALUE" or "FRAME:direction=INDEX". */
ReferenceRenderer::Change parseChange(const juce::String& text)
{
    const juce::String frame = text.upToFirstOccurrenceOf(":", false, false);
    const juce::String what =
        text.fromFirstOccurrenceOf(":", false, false).upToFirstOccurrenceOf("=", false, false);
    const juce::String value = text.fromFirstOccurrenceOf("=", false, false);
    const bool isGain = what == "gain";
    if (!isInteger(frame) || !(isGain || what == "direction") ||
        !(isGain ? isNumber(value) : isInteger(value)))
        throw BadArguments("--change wants FRAME:gain=VALUE or FRAME:direction=INDEX");
    return {frame.getLargeIntValue(), isGain, value};
}

Options parseArguments(int argc, char** argv)
{
    Options options;
    const auto cwd = juce::File::getCurrentWorkingDirectory();
    for (int i = 1; i < argc; ++i)
    {
        const juce::String name(argv[i]);
        if (name == "--bypass" || name == "--flush-denormals")
        {
            (name == "--bypass" ? options.bypass : options.flushDenormals) = true;
            continue;
        }
        if (i + 1 >= argc)
            throw BadArguments(name.toStdString() + " needs a value");
        const juce::String value(argv[++i]);
        if (name == "--input")
            options.input = cwd.getChildFile(value);
        else if (name == "--out")
            options.output = cwd.getChildFile(value);
        else if (name == "--blocks")
            options.blockLengths = parseBlocks(value);
        else if (name == "--gain" && isNumber(value))
            options.gain = value;
        else if (name == "--direction" && isInteger(value))
            options.direction = value;
        else if (name == "--change")
            options.changes.push_back(parseChange(value));
        else
            throw BadArguments("cannot use " + name.toStdString() + " " + value.toStdString());
    }
    if (options.input == juce::File() || options.output == juce::File())
        throw BadArguments("--input and --out are required");
    return options;
}

juce::AudioBuffer<float> readWav(const juce::File& file, double& sampleRate)
{
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatReader> reader(
        wav.createReaderFor(file.createInputStream().release(), true));
    if (reader == nullptr)
        throw std::runtime_error("cannot read " + file.getFullPathName().toStdString());
    if (reader->numChannels != kChannels || reader->lengthInSamples > kMaxBlock * 1024LL)
        throw std::runtime_error("the input must have 4 channels and a sensible length");
    sampleRate = reader->sampleRate;
    juce::AudioBuffer<float> buffer(kChannels, int(reader->lengthInSamples));
    if (!reader->read(buffer.getArrayOfWritePointers(), kChannels, 0, buffer.getNumSamples()))
        throw std::runtime_error("cannot read the samples of the input");
    return buffer;
}

void writeWav(const juce::File& file, const juce::AudioBuffer<float>& buffer, double sampleRate)
{
    // A file output stream appends to what is there.
    if (file.exists() && !file.deleteFile())
        throw std::runtime_error("cannot replace " + file.getFullPathName().toStdString());
    auto stream = file.createOutputStream();
    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer(
        stream == nullptr ? nullptr
                          : wav.createWriterFor(stream.get(), sampleRate,
                                                juce::AudioChannelSet::discreteChannels(kChannels),
                                                kFloatBits, {}, 0));
    if (writer == nullptr)
        throw std::runtime_error("cannot write " + file.getFullPathName().toStdString());
    stream.release(); // the writer owns the stream now
    if (!writer->writeFromAudioSampleBuffer(buffer, 0, buffer.getNumSamples()))
        throw std::runtime_error("cannot write the samples of the output");
}
} // namespace

int main(int argc, char** argv)
{
    try
    {
        const Options options = parseArguments(argc, argv);
        double sampleRate = 0.0;
        const auto input = readWav(options.input, sampleRate);

        const int maxBlock =
            *std::max_element(options.blockLengths.begin(), options.blockLengths.end());
        ReferenceRenderer renderer(sampleRate, maxBlock);
        renderer.setInitialState(options.gain, options.direction);
        renderer.setBypassed(options.bypass);
        renderer.setFlushDenormals(options.flushDenormals);
        const auto output = renderer.render(input, options.blockLengths, options.changes);
        writeWav(options.output, output, sampleRate);

        std::printf("reference: %s -> %s, %d frames at %g Hz%s\n",
                    options.input.getFullPathName().toRawUTF8(),
                    options.output.getFullPathName().toRawUTF8(), input.getNumSamples(), sampleRate,
                    options.bypass ? ", bypassed" : "");
        return 0;
    }
    catch (const BadArguments& error)
    {
        std::fprintf(stderr,
                     "veridane_render_reference: %s\nusage: veridane_render_reference --input FILE "
                     "--out FILE [--blocks LIST] [--bypass] [--flush-denormals] [--gain VALUE] "
                     "[--direction INDEX] "
                     "[--change FRAME:gain=VALUE] [--change FRAME:direction=INDEX]\n",
                     error.what());
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "veridane_render_reference: %s\n", error.what());
    }
    return 2;
}
