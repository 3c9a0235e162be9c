#include "tests/hosts/common/RenderOptions.h"

#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/common/SignalSource.h"

#include <algorithm>
#include <cstdio>

namespace
{
/** "FRAME:gain=VALUE" or "FRAME:direction=INDEX". */
ScheduledChange parseChange(const std::string& text)
{
    const auto colon = text.find(':');
    const auto equals = text.find('=', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || equals == std::string::npos)
        throw UsageError("--change wants FRAME:gain=VALUE or FRAME:direction=INDEX");
    ScheduledChange change;
    change.frame = parseInteger(text.substr(0, colon), "--change frame");
    const std::string what = text.substr(colon + 1, equals - colon - 1);
    change.value = text.substr(equals + 1);
    if (what != "gain" && what != "direction")
        throw UsageError("--change can set gain or direction, not '" + what + "'");
    change.isGain = what == "gain";
    if (change.isGain)
        parseNumber(change.value, "--change gain");
    else
        parseInteger(change.value, "--change direction");
    return change;
}

/** Channel names of each side, when one direction holds for the whole render. */
struct ChannelNames
{
    const char* input;
    const char* output;
};

ChannelNames channelNames(bool bypass, bool directionChanges, const std::string& direction)
{
    if (directionChanges)
        return {"1 2 3 4", "1 2 3 4"};
    const bool toFuma = parseInteger(direction, "--direction") == 1;
    const char* fuma = "FuMa W X Y Z";
    const char* ambix = "ambiX W Y Z X";
    if (bypass)
        return toFuma ? ChannelNames{ambix, ambix} : ChannelNames{fuma, fuma};
    return toFuma ? ChannelNames{ambix, fuma} : ChannelNames{fuma, ambix};
}

std::string joined(const std::vector<std::string>& words, const char* separator)
{
    std::string text;
    for (const auto& word : words)
        text += (text.empty() ? "" : separator) + word;
    return text;
}

void printPeaks(const char* side, const char* names, const MultichannelAudio& audio)
{
    std::printf("peaks %-3s (%s):", side, names);
    for (float peak : audio.peaks())
        std::printf("  %s", decibelText(peak).c_str());
    std::printf("\n");
}
} // namespace

RenderOptions RenderOptions::take(Arguments& arguments, const std::vector<std::string>& bufferNames)
{
    RenderOptions options;
    const auto outPath = arguments.option("--out");
    if (!outPath)
        throw UsageError("--out FILE is required");
    options.outPath = *outPath;
    options.blockList = arguments.option("--blocks").value_or("512");
    BlockPartition{options.blockList};
    options.buffers = arguments.option("--buffers").value_or(bufferNames.front());
    if (std::find(bufferNames.begin(), bufferNames.end(), options.buffers) == bufferNames.end())
        throw UsageError("unknown buffer layout '" + options.buffers + "' (" +
                         joined(bufferNames, ", ") + ")");
    options.bypass = arguments.flag("--bypass");
    options.gain = arguments.option("--gain");
    options.direction = arguments.option("--direction");
    if (options.gain)
        parseNumber(*options.gain, "--gain");
    if (options.direction)
        parseInteger(*options.direction, "--direction");
    for (const auto& text : arguments.options("--change"))
        options.changes.push_back(parseChange(text));
    std::stable_sort(options.changes.begin(), options.changes.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    options.verbose = arguments.flag("--verbose");
    options.input = takeSignal(arguments, options.inputDescription);
    options.pluginPath = arguments.positionals(1, "the plug-in path")[0];

    if (options.input.channels.size() != HostBuffers::kChannels)
        throw UsageError(options.inputDescription + " has " +
                         std::to_string(options.input.channels.size()) + " channels, not 4");
    return options;
}

int64_t forEachBlock(const RenderOptions& options,
                     const std::function<void(const ScheduledChange&)>& apply,
                     const std::function<bool(int64_t offset, int32_t length)>& render)
{
    BlockPartition partition(options.blockList);
    const int64_t frames = options.input.frames();
    size_t nextChange = 0;
    int64_t blocks = 0;
    for (int64_t offset = 0; offset < frames; ++blocks)
    {
        for (; nextChange < options.changes.size() && options.changes[nextChange].frame <= offset;
             ++nextChange)
        {
            const auto& change = options.changes[nextChange];
            std::printf("at frame %lld: %s = %s\n", (long long)offset,
                        change.isGain ? "gain" : "direction", change.value.c_str());
            apply(change);
        }
        const int32_t length = partition.next(frames - offset);
        if (!render(offset, length))
            break;
        offset += length;
    }
    return blocks;
}

MultichannelAudio
renderBlocks(const RenderOptions& options, const std::function<void(const ScheduledChange&)>& apply,
             const std::function<void(float** inputs, float** outputs, int32_t length)>& process,
             int64_t& blocks)
{
    HostBuffers buffers(parseBufferLayout(options.buffers),
                        BlockPartition(options.blockList).largest());
    MultichannelAudio output;
    output.sampleRate = options.input.sampleRate;
    output.channels.assign(HostBuffers::kChannels,
                           std::vector<float>(size_t(options.input.frames())));
    blocks = forEachBlock(options, apply,
                          [&](int64_t offset, int32_t length)
                          {
                              buffers.load(options.input, offset, length);
                              process(buffers.inputs(), buffers.outputs(), length);
                              buffers.store(offset, length, output);
                              return true;
                          });
    return output;
}

void writeRenderResult(const RenderOptions& options, const MultichannelAudio& output,
                       int64_t blocks)
{
    writeWav(options.outPath, output);
    std::printf("in:  %s, %lld frames at %g Hz\n", options.inputDescription.c_str(),
                (long long)options.input.frames(), options.input.sampleRate);
    std::printf("out: %s, %lld blocks of %s, %s buffers%s\n", options.outPath.c_str(),
                (long long)blocks, options.blockList.c_str(), options.buffers.c_str(),
                options.bypass ? ", bypassed" : "");
    const bool directionChanges = std::any_of(options.changes.begin(), options.changes.end(),
                                              [](const auto& change) { return !change.isGain; });
    const auto names =
        channelNames(options.bypass, directionChanges, options.direction.value_or("0"));
    printPeaks("in", names.input, options.input);
    printPeaks("out", names.output, output);
}
