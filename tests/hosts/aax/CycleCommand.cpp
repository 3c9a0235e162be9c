// cycle: open an instance and its window object, configure, process, save, close, N times, each
// time checking that the bundle holds nothing any more; for leak and lifetime checks. (The editor
// command shows the editor, under the sanitizers too.)
#include "tests/hosts/aax/Commands.h"
#include "tests/hosts/aax/HostedGui.h"
#include "tests/hosts/common/HostBuffers.h"
#include "tests/hosts/common/TestSignals.h"

#include <cstdio>
#include <memory>

namespace
{
constexpr int64_t kFramesPerCycle = 24000;
constexpr int32_t kBlockSize = 512;
constexpr double kSampleRate = 48000.0;
constexpr long kMaxCycles = 1000;

/** Processes the signal, asking for coefficients before each block as a host does. */
void processSignal(HostedInstance& instance, const MultichannelAudio& input)
{
    HostBuffers buffers(BufferLayout::separate, kBlockSize);
    MultichannelAudio output;
    output.channels.assign(HostBuffers::kChannels, std::vector<float>(size_t(input.frames())));
    for (int64_t offset = 0; offset < input.frames(); offset += kBlockSize)
    {
        const int32_t length = int32_t(std::min<int64_t>(kBlockSize, input.frames() - offset));
        buffers.load(input, offset, length);
        instance.generateCoefficients();
        instance.process(buffers.inputs(), buffers.outputs(), length);
        buffers.store(offset, length, output);
    }
}

} // namespace

int runCycle(Arguments& arguments)
{
    const bool reload = arguments.flag("--reload");
    const auto words = arguments.positionals(2, "the cycle count, then the bundle path");
    const long cycles = parseInteger(words[0], "cycle count");
    if (cycles < 1 || cycles > kMaxCycles)
        throw UsageError("the cycle count runs from 1 to 1000");

    const MultichannelAudio input = generateSignal("noise", kFramesPerCycle, kSampleRate);
    std::unique_ptr<fakeaax::FakeHost> host;
    std::unique_ptr<AaxBundle> bundle;
    std::vector<std::string> problems;
    for (long cycle = 1; cycle <= cycles; ++cycle)
    {
        if (bundle == nullptr)
        {
            host = std::make_unique<fakeaax::FakeHost>();
            bundle = std::make_unique<AaxBundle>(*host, words[1]);
        }
        size_t chunks = 0;
        {
            // Every other cycle the host answers value requests inside them.
            HostedInstance instance(*bundle, kSampleRate,
                                    cycle % 2 == 0 ? HostedInstance::Automation::synchronous
                                                   : HostedInstance::Automation::queued);
            instance.restoreState("0.5", std::to_string(cycle % 2));
            HostedGui gui(instance);
            processSignal(instance, input);
            chunks = instance.saveChunks().size();
            problems.insert(problems.end(), instance.problems.begin(), instance.problems.end());
        }
        const int32_t liveObjects = bundle->exports().canUnloadNow(nullptr);
        if (liveObjects != 0)
            problems.push_back("ACFCanUnloadNow answered " + std::to_string(liveObjects));
        // The bundle gives back what start-up and registration took only when it goes.
        if (reload || cycle == cycles)
        {
            bundle.reset();
            checkReleased(0, *host, problems);
            host.reset();
        }
        std::printf("cycle %ld: processed %lld frames, %zu chunks, can unload %d\n", cycle,
                    (long long)input.frames(), chunks, liveObjects);
    }
    return report(problems);
}
