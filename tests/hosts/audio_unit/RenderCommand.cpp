// render: load, open, configure (formats, input, state, bypass), initialise, render block by
// block, uninitialise, close, write the result.
#include "tests/hosts/audio_unit/ClassInfo.h"
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/audio_unit/UnitRenderer.h"
#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/common/RenderSettings.h"
#include "tests/hosts/common/SignalSource.h"

#include <cstdio>

namespace
{
/** How the host sets the gain: the road's set-parameter call, the fast function of a Component
    Manager instance, or an immediate event through schedule-parameters. */
OSStatus setGain(HostedUnit& unit, const std::string& route, Float32 value)
{
    if (route == "fast")
    {
        AudioUnitSetParameterProc function = nullptr;
        const OSStatus status = unit.fastFunction(kAudioUnitSetParameterSelect, function);
        return status != noErr ? status
                               : function(unit.storage, 0, kAudioUnitScope_Global, 0, value, 0);
    }
    if (route == "schedule")
    {
        AudioUnitParameterEvent event{};
        event.eventType = kParameterEvent_Immediate;
        event.eventValues.immediate = {0, value};
        const AudioUnitParameterEvent* events = &event;
        return unit.call(kAudioUnitScheduleParametersSelect, events, UInt32(1));
    }
    return unit.setParameter(0, value);
}

/** Records a call that did not answer 0. */
void expectNoError(std::vector<std::string>& problems, const char* what, OSStatus status)
{
    std::printf("%s answered %d\n", what, int(status));
    if (status != noErr)
        problems.push_back(std::string(what) + " answered " + std::to_string(status));
}
} // namespace

int runRender(Arguments& arguments)
{
    const auto outPath = arguments.option("--out");
    if (!outPath)
        throw UsageError("--out FILE is required");
    const std::string blockList = arguments.option("--blocks").value_or("512");
    BlockPartition partition(blockList);
    const UnitOptions unitOptions = UnitOptions::take(arguments);
    const auto feedKind =
        InputFeed::parseKind(arguments.option("--input-from").value_or("callback"));
    const auto buffers = parseOutputBuffers(arguments.option("--buffers").value_or("host"));
    const auto route = arguments.option("--parameters").value_or("selector");
    if (route != "selector" && route != "fast" && route != "schedule")
        throw UsageError("--parameters takes selector, fast or schedule");
    const RenderSettings settings = RenderSettings::take(arguments);
    std::string inputDescription;
    const MultichannelAudio input = takeSignal(arguments, inputDescription);
    const auto words = arguments.positionals(1, "the plug-in path");
    if (input.channels.size() != UnitRenderer::kChannels)
        throw UsageError(inputDescription + " has " + std::to_string(input.channels.size()) +
                         " channels, not 4");
    if (feedKind == InputFeed::Kind::connection && !unitOptions.withPlatform)
        throw UsageError("a connected input needs the platform");
    if (route == "fast" && !unitOptions.componentManager)
        throw UsageError("the fast parameter function needs the component-manager road");

    const auto maxFrames = UInt32(partition.largest());
    BundleLibrary bundle(words[0]);
    HostedUnit unit(bundle, unitOptions);
    std::printf("opened %s on the %s road\n", words[0].c_str(), unitOptions.roadName());

    std::vector<std::string> problems;
    expectNoError(problems, "4-channel formats",
                  configureFourChannels(unit, input.sampleRate, maxFrames));
    InputFeed feed(feedKind, input, maxFrames);
    expectNoError(problems, InputFeed::kindName(feedKind), feed.attach(unit));
    if (settings.gain || settings.direction)
        expectNoError(problems, "class info restore",
                      restoreSettings(unit, settings.gain, settings.direction));
    if (settings.bypass)
        expectNoError(
            problems, "bypass",
            unit.set(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, UInt32(1)));
    expectNoError(problems, "initialize", unit.initialize());
    UnitRenderer renderer(unit, feed, buffers, maxFrames);
    expectNoError(problems, outputBuffersName(buffers), renderer.prepare());

    MultichannelAudio output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(UnitRenderer::kChannels, std::vector<float>(size_t(input.frames())));
    size_t nextChange = 0;
    int64_t blocks = 0;
    for (int64_t offset = 0;
         offset < input.frames() && problems.empty() && renderer.problems().empty(); ++blocks)
    {
        for (; nextChange < settings.changes.size() && settings.changes[nextChange].frame <= offset;
             ++nextChange)
        {
            const auto& change = settings.changes[nextChange];
            const OSStatus status =
                change.isGain ? setGain(unit, route, float(parseNumber(change.value, "gain")))
                              : restoreSettings(unit, std::nullopt, change.value);
            std::printf("at frame %lld: %s = %s answered %d\n", (long long)offset,
                        change.isGain ? "gain" : "direction", change.value.c_str(), int(status));
            if (status != noErr)
                problems.push_back("a change at frame " + std::to_string(offset) + " failed");
        }
        const auto length = UInt32(partition.next(input.frames() - offset));
        renderer.render(offset, length, output);
        offset += length;
    }

    expectNoError(problems, "uninitialize", unit.uninitialize());
    expectNoError(problems, "close", unit.close());
    writeWav(*outPath, output);

    std::printf("in:  %s, %lld frames at %g Hz, input by %s pulled %d times\n",
                inputDescription.c_str(), (long long)input.frames(), input.sampleRate,
                InputFeed::kindName(feedKind), feed.pulls());
    std::printf("out: %s, %lld blocks of %s, %s buffers%s\n", outPath->c_str(), (long long)blocks,
                blockList.c_str(), outputBuffersName(buffers), settings.bypass ? ", bypassed" : "");
    settings.printPeaks(input, output);

    problems.insert(problems.end(), renderer.problems().begin(), renderer.problems().end());
    for (const auto& problem : problems)
        std::printf("PROBLEM: %s\n", problem.c_str());
    return problems.empty() ? exitCode::ok : exitCode::failed;
}
