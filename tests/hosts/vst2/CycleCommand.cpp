// cycle: open, configure, process, (edit), close, N times, for leak and lifetime checks.
#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/common/HostBuffers.h"
#include "tests/hosts/common/StateChunk.h"
#include "tests/hosts/common/TestSignals.h"
#include "tests/hosts/vst2/Commands.h"
#include "tests/hosts/vst2/EditorSession.h"

#include <cstdio>
#include <memory>

namespace
{
constexpr int64_t kFramesPerCycle = 24000;
constexpr double kSampleRate = 48000.0;
constexpr int kEditorIdleMilliseconds = 200;
constexpr long kMaxCycles = 1000;
} // namespace

int runCycle(Arguments& arguments)
{
    const bool reload = arguments.flag("--reload");
    const bool withEditor = arguments.flag("--editor");
    const std::string blockList = arguments.option("--blocks").value_or("512,1,10000");
    const auto words = arguments.positionals(2, "the cycle count, then the plug-in path");
    const long cycles = parseInteger(words[0], "cycle count");
    if (cycles < 1 || cycles > kMaxCycles)
        throw UsageError("the cycle count runs from 1 to 1000");

    const bool editorPossible = withEditor && EditorSession::displayAvailable();
    if (withEditor && !editorPossible)
        std::printf("no X display: the editor is left closed\n");

    const MultichannelAudio input = generateSignal("noise", kFramesPerCycle, kSampleRate);
    std::unique_ptr<PluginLibrary> library;
    int failures = 0;
    for (long cycle = 1; cycle <= cycles; ++cycle)
    {
        if (library == nullptr)
            library = std::make_unique<PluginLibrary>(words[1]);

        BlockPartition partition(blockList);
        HostContext context;
        context.sampleRate = kSampleRate;
        context.blockSize = partition.largest();
        {
            HostedEffect effect(*library, context);
            effect.requireFourChannelReplacing();
            effect.open();
            effect.setChunk(makeStateBlock("0.5", std::to_string(cycle % 2)));
            effect.resume();

            MultichannelAudio output;
            output.channels.assign(HostBuffers::kChannels,
                                   std::vector<float>(size_t(input.frames())));
            HostBuffers buffers(BufferLayout::separate, partition.largest());
            for (int64_t offset = 0; offset < input.frames();)
            {
                const int32_t length = partition.next(input.frames() - offset);
                buffers.load(input, offset, length);
                effect.process(buffers.inputs(), buffers.outputs(), length);
                buffers.store(offset, length, output);
                offset += length;
            }

            bool editorOpened = false;
            if (editorPossible)
            {
                EditorSession session(effect);
                editorOpened = session.open();
                session.idle(kEditorIdleMilliseconds);
            }

            const auto chunk = effect.chunk();
            effect.suspend();
            const intptr_t closeAnswer = effect.close();
            const bool finite = output.allFinite();
            std::printf("cycle %ld: processed %lld frames (%s), chunk %zu bytes, editor %s, "
                        "close answered %ld\n",
                        cycle, (long long)input.frames(), finite ? "finite" : "NOT FINITE",
                        chunk.size(), editorOpened ? "opened" : "closed", long(closeAnswer));
            for (const auto& problem : effect.problems())
                std::printf("PROBLEM: %s\n", problem.c_str());
            failures += (!finite || chunk.empty() || !effect.problems().empty() ||
                         (editorPossible && !editorOpened))
                            ? 1
                            : 0;
        }
        if (reload)
            library.reset();
    }
    std::printf("%ld cycles, %d failed\n", cycles, failures);
    return failures == 0 ? exitCode::ok : exitCode::failed;
}
