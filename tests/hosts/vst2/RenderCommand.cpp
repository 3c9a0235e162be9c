// render: load, open, configure (chunk, bypass), render block by block, close, write the result.
#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/vst2/BlockRenderer.h"
#include "tests/hosts/vst2/Commands.h"
#include "tests/hosts/common/SignalSource.h"
#include "tests/hosts/vst2/StateChunk.h"

#include <algorithm>
#include <cstdio>

namespace
{
/** A setting that changes at the first block starting at or after frame. */
struct ScheduledChange
{
    int64_t frame;
    bool isGain; // otherwise the direction
    std::string value;
};

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

void printPeaks(const char* side, const char* names, const MultichannelAudio& audio)
{
    std::printf("peaks %-3s (%s):", side, names);
    for (float peak : audio.peaks())
        std::printf("  %s", decibelText(peak).c_str());
    std::printf("\n");
}
} // namespace

int runRender(Arguments& arguments)
{
    const auto outPath = arguments.option("--out");
    if (!outPath)
        throw UsageError("--out FILE is required");
    const std::string blockList = arguments.option("--blocks").value_or("512");
    BlockPartition partition(blockList);
    const BufferLayout layout =
        parseBufferLayout(arguments.option("--buffers").value_or("separate"));
    const bool bypass = arguments.flag("--bypass");
    const auto gain = arguments.option("--gain");
    const auto direction = arguments.option("--direction");
    if (gain)
        parseNumber(*gain, "--gain");
    if (direction)
        parseInteger(*direction, "--direction");
    std::vector<ScheduledChange> changes;
    for (const auto& text : arguments.options("--change"))
        changes.push_back(parseChange(text));
    std::stable_sort(changes.begin(), changes.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    const bool verbose = arguments.flag("--verbose");
    std::string inputDescription;
    const MultichannelAudio input = takeSignal(arguments, inputDescription);
    const auto words = arguments.positionals(1, "the plug-in path");

    if (input.channels.size() != BlockRenderer::kChannels)
        throw UsageError(inputDescription + " has " + std::to_string(input.channels.size()) +
                         " channels, not 4");

    HostContext context;
    context.sampleRate = input.sampleRate;
    context.blockSize = partition.largest();
    context.verbose = verbose;

    PluginLibrary library(words[0]);
    HostedEffect effect(library, context);
    effect.requireFourChannelReplacing();
    std::printf("loaded %s (entry %s): %s\n", library.path().c_str(), library.entryName().c_str(),
                effect.summary().c_str());
    effect.open();

    if (gain || direction)
    {
        const auto block = makeStateBlock(gain, direction);
        std::printf("chunk: %s (%zu bytes) answered %ld\n", stateBlockText(block)->c_str(),
                    block.size(), long(effect.setChunk(block)));
    }
    if (bypass)
        std::printf("set bypass answered %ld\n", long(effect.dispatch(effSetBypass, 0, 1)));
    effect.resume();

    MultichannelAudio output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(BlockRenderer::kChannels, std::vector<float>(size_t(input.frames())));
    BlockRenderer renderer(effect, layout, partition.largest());
    size_t nextChange = 0;
    int64_t blocks = 0;
    for (int64_t offset = 0; offset < input.frames(); ++blocks)
    {
        for (; nextChange < changes.size() && changes[nextChange].frame <= offset; ++nextChange)
        {
            const auto& change = changes[nextChange];
            if (change.isGain)
                effect.setParameter(0, float(parseNumber(change.value, "gain")));
            else
                effect.setChunk(makeStateBlock(std::nullopt, change.value));
            std::printf("at frame %lld: %s = %s\n", (long long)offset,
                        change.isGain ? "gain" : "direction", change.value.c_str());
        }
        const int32_t length = partition.next(input.frames() - offset);
        renderer.process(input, offset, length, output);
        offset += length;
    }

    effect.suspend();
    effect.close();
    writeWav(*outPath, output);

    std::printf("in:  %s, %lld frames at %g Hz\n", inputDescription.c_str(),
                (long long)input.frames(), input.sampleRate);
    std::printf("out: %s, %lld blocks of %s, %s buffers%s\n", outPath->c_str(), (long long)blocks,
                blockList.c_str(), bufferLayoutName(layout), bypass ? ", bypassed" : "");
    const bool directionChanges = std::any_of(changes.begin(), changes.end(),
                                              [](const auto& change) { return !change.isGain; });
    const auto names = channelNames(bypass, directionChanges, direction.value_or("0"));
    printPeaks("in", names.input, input);
    printPeaks("out", names.output, output);
    std::printf("heard from the effect: %d automation calls, %d/%d gesture begins/ends\n",
                context.automateCalls.load(), context.beginEditCalls.load(),
                context.endEditCalls.load());

    for (const auto& problem : effect.problems())
        std::printf("PROBLEM: %s\n", problem.c_str());
    return effect.problems().empty() ? exitCode::ok : exitCode::failed;
}
