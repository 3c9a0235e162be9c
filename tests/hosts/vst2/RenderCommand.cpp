// render: load, open, configure (chunk, bypass), render block by block, close, write the result.
#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/common/RenderSettings.h"
#include "tests/hosts/common/SignalSource.h"
#include "tests/hosts/common/StateChunk.h"
#include "tests/hosts/vst2/BlockRenderer.h"
#include "tests/hosts/vst2/Commands.h"

#include <cstdio>

int runRender(Arguments& arguments)
{
    const auto outPath = arguments.option("--out");
    if (!outPath)
        throw UsageError("--out FILE is required");
    const std::string blockList = arguments.option("--blocks").value_or("512");
    BlockPartition partition(blockList);
    const BufferLayout layout =
        parseBufferLayout(arguments.option("--buffers").value_or("separate"));
    const RenderSettings settings = RenderSettings::take(arguments);
    const bool bypass = settings.bypass;
    const auto& gain = settings.gain;
    const auto& direction = settings.direction;
    const auto& changes = settings.changes;
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
    settings.printPeaks(input, output);
    std::printf("heard from the effect: %d automation calls, %d/%d gesture begins/ends\n",
                context.automateCalls.load(), context.beginEditCalls.load(),
                context.endEditCalls.load());

    for (const auto& problem : effect.problems())
        std::printf("PROBLEM: %s\n", problem.c_str());
    return effect.problems().empty() ? exitCode::ok : exitCode::failed;
}
