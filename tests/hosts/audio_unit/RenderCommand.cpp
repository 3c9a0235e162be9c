// render: load, open, configure (formats, input, state, bypass), initialise, render block by
// block, uninitialise, close, write the result.
#include "tests/hosts/audio_unit/ClassInfo.h"
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/audio_unit/UnitIO.h"
#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/common/RenderSettings.h"
#include "tests/hosts/common/SignalSource.h"

#include <cstdio>

namespace
{
/** The gain through the road's set-parameter call ("selector"), the fast function of a
    Component Manager instance ("fast"), or an immediate event ("schedule"). */
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
} // namespace

int runRender(Arguments& arguments)
{
    const auto outPath = arguments.option("--out");
    if (!outPath)
        throw UsageError("--out FILE is required");
    const std::string blockList = arguments.option("--blocks").value_or("512");
    BlockPartition partition(blockList);
    const UnitOptions unitOptions = UnitOptions::take(arguments);
    const std::string inputFrom = arguments.option("--input-from").value_or("callback");
    const std::string buffers = arguments.option("--buffers").value_or("host");
    const std::string route = arguments.option("--parameters").value_or("selector");
    const RenderSettings settings = RenderSettings::take(arguments);
    std::string inputDescription;
    const MultichannelAudio input = takeSignal(arguments, inputDescription);
    const auto words = arguments.positionals(1, "the plug-in path");
    if (input.channels.size() != kChannels)
        throw UsageError(inputDescription + " does not have 4 channels");
    if ((inputFrom != "callback" && inputFrom != "connection") ||
        (route != "selector" && route != "fast" && route != "schedule"))
        throw UsageError("--input-from takes callback or connection, --parameters selector, "
                         "fast or schedule");

    const auto maxFrames = UInt32(partition.largest());
    BundleLibrary bundle(words[0]);
    HostedUnit unit(bundle, unitOptions);
    std::vector<std::string> problems;
    const auto expectNoError = [&](const std::string& what, OSStatus status)
    {
        std::printf("%s answered %d\n", what.c_str(), int(status));
        if (status != noErr)
            problems.push_back(what + " answered " + std::to_string(status));
    };
    std::printf("opened %s on the %s road\n", words[0].c_str(), unitOptions.roadName());
    expectNoError("4-channel formats", configureFourChannels(unit, input.sampleRate, maxFrames));
    InputFeed feed(inputFrom == "connection", input, maxFrames);
    expectNoError("input by " + inputFrom, feed.attach(unit));
    if (settings.gain || settings.direction)
        expectNoError("restore", restoreSettings(unit, settings.gain, settings.direction));
    if (settings.bypass)
        expectNoError("bypass", unit.set(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0,
                                         UInt32(1)));
    expectNoError("initialize", unit.initialize());
    UnitRenderer renderer(unit, feed, buffers, maxFrames);
    expectNoError(buffers + " buffers", renderer.prepare());

    MultichannelAudio output;
    output.sampleRate = input.sampleRate;
    output.channels.assign(kChannels, std::vector<float>(size_t(input.frames())));
    size_t next = 0;
    for (int64_t offset = 0; offset < input.frames() && renderer.problems.empty();)
    {
        for (; next < settings.changes.size() && settings.changes[next].frame <= offset; ++next)
        {
            const auto& change = settings.changes[next];
            expectNoError("at frame " + std::to_string(offset) + ": " +
                              (change.isGain ? "gain " : "direction ") + change.value,
                          change.isGain ? setGain(unit, route, std::stof(change.value))
                                        : restoreSettings(unit, std::nullopt, change.value));
        }
        const auto length = UInt32(partition.next(input.frames() - offset));
        renderer.render(offset, length, output);
        offset += length;
    }
    expectNoError("uninitialize", unit.uninitialize());
    expectNoError("close", unit.close());
    writeWav(*outPath, output);

    std::printf("in:  %s, %lld frames at %g Hz, pulled %d times\n", inputDescription.c_str(),
                (long long)input.frames(), input.sampleRate, feed.pulls);
    std::printf("out: %s, blocks of %s, %s buffers%s\n", outPath->c_str(), blockList.c_str(),
                buffers.c_str(), settings.bypass ? ", bypassed" : "");
    settings.printPeaks(input, output);
    problems.insert(problems.end(), renderer.problems.begin(), renderer.problems.end());
    for (const auto& problem : problems)
        std::printf("PROBLEM: %s\n", problem.c_str());
    return problems.empty() ? exitCode::ok : exitCode::failed;
}
