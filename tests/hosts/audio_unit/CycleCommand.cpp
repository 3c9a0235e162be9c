// cycle: open, configure, initialise, render, save, close, N times, for leak and lifetime checks.
#include "tests/hosts/audio_unit/ClassInfo.h"
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/audio_unit/UnitIO.h"
#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/common/TestSignals.h"

#include <cstdio>
#include <memory>

namespace
{
constexpr int64_t kFramesPerCycle = 4096;
constexpr double kSampleRate = 48000.0;
constexpr long kMaxCycles = 100000;
} // namespace

int runCycle(Arguments& arguments)
{
    const UnitOptions options = UnitOptions::take(arguments);
    const bool reload = arguments.flag("--reload");
    const std::string blockList = arguments.option("--blocks").value_or("512,1,1000");
    const auto words = arguments.positionals(2, "the cycle count, then the plug-in path");
    const long cycles = parseInteger(words[0], "cycle count");
    if (cycles < 1 || cycles > kMaxCycles)
        throw UsageError("the cycle count runs from 1 to 100000");

    const MultichannelAudio input = generateSignal("noise", kFramesPerCycle, kSampleRate);
    std::unique_ptr<BundleLibrary> bundle;
    long failures = 0;
    for (long cycle = 1; cycle <= cycles; ++cycle)
    {
        if (bundle == nullptr)
            bundle = std::make_unique<BundleLibrary>(words[1]);
        BlockPartition partition(blockList);
        const auto maxFrames = UInt32(partition.largest());

        // Host and unit count their objects in one CoreFoundation: the unit's show while it is
        // open, and all are given back when it closes.
        const CFIndex liveBefore = VeridaneCFGetLiveObjectCount();
        HostedUnit unit(*bundle, options);
        const bool counted = VeridaneCFGetLiveObjectCount() > liveBefore;
        InputFeed feed(false, input, maxFrames);
        const bool configured = configureFourChannels(unit, kSampleRate, maxFrames) == noErr &&
                                feed.attach(unit) == noErr &&
                                restoreSettings(unit, "0.5", std::to_string(cycle % 2)) == noErr &&
                                unit.initialize() == noErr;
        MultichannelAudio output;
        output.channels.assign(kChannels, std::vector<float>(size_t(input.frames())));
        UnitRenderer renderer(unit, feed, "host", maxFrames);
        for (int64_t offset = 0; configured && offset < input.frames();)
        {
            const auto length = UInt32(partition.next(input.frames() - offset));
            renderer.render(offset, length, output);
            offset += length;
        }
        OSStatus saved = noErr;
        const bool stateKept = !ClassInfo::save(unit, saved).bytes("jucePluginState").empty();
        const OSStatus closed = unit.close();
        const CFIndex kept = VeridaneCFGetLiveObjectCount() - liveBefore;
        const bool ok = configured && renderer.problems.empty() && output.allFinite() &&
                        stateKept && closed == noErr && counted && kept == 0;
        // Every cycle's line would drown a thousand-cycle run: the first, the last and failures.
        if (!ok || cycle == 1 || cycle == cycles)
            std::printf("cycle %ld: %s, rendered %lld frames, state %s, close answered %d, "
                        "objects %s, %ld kept\n",
                        cycle, ok ? "clean" : "FAILED", (long long)input.frames(),
                        stateKept ? "saved" : "missing", int(closed),
                        counted ? "counted" : "NOT COUNTED", long(kept));
        failures += ok ? 0 : 1;
        if (reload)
            bundle.reset();
    }
    std::printf("%ld cycles on the %s road, %ld failed\n", cycles, options.roadName(), failures);
    return failures == 0 ? exitCode::ok : exitCode::failed;
}
