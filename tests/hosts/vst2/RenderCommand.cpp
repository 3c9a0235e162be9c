// render: load, open, configure (chunk, bypass), render block by block, close, write the result.
#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/common/RenderOptions.h"
#include "tests/hosts/common/StateChunk.h"
#include "tests/hosts/vst2/Commands.h"
#include "tests/hosts/vst2/HostedEffect.h"

#include <cstdio>

int runRender(Arguments& arguments)
{
    const RenderOptions options = RenderOptions::take(arguments);

    HostContext context;
    context.sampleRate = options.input.sampleRate;
    context.blockSize = BlockPartition(options.blockList).largest();
    context.verbose = options.verbose;

    PluginLibrary library(options.pluginPath);
    HostedEffect effect(library, context);
    effect.requireFourChannelReplacing();
    std::printf("loaded %s (entry %s): %s\n", library.path().c_str(), library.entryName().c_str(),
                effect.summary().c_str());
    effect.open();

    if (options.gain || options.direction)
    {
        const auto block = makeStateBlock(options.gain, options.direction);
        std::printf("chunk: %s (%zu bytes) answered %ld\n", stateBlockText(block)->c_str(),
                    block.size(), long(effect.setChunk(block)));
    }
    if (options.bypass)
        std::printf("set bypass answered %ld\n", long(effect.dispatch(effSetBypass, 0, 1)));
    effect.resume();

    int64_t blocks = 0;
    const MultichannelAudio output = renderBlocks(
        options,
        [&](const ScheduledChange& change)
        {
            if (change.isGain)
                effect.setParameter(0, float(parseNumber(change.value, "gain")));
            else
                effect.setChunk(makeStateBlock(std::nullopt, change.value));
        },
        [&](float** inputs, float** outputs, int32_t length)
        { effect.process(inputs, outputs, length); },
        blocks);

    effect.suspend();
    effect.close();
    writeRenderResult(options, output, blocks);
    std::printf("heard from the effect: %d automation calls, %d/%d gesture begins/ends\n",
                context.automateCalls.load(), context.beginEditCalls.load(),
                context.endEditCalls.load());

    for (const auto& problem : effect.problems())
        std::printf("PROBLEM: %s\n", problem.c_str());
    return effect.problems().empty() ? exitCode::ok : exitCode::failed;
}
