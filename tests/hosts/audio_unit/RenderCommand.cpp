// render: load, open, configure (formats, input, state, bypass), initialise, render block by
// block, uninitialise, close, write the result.
#include "tests/hosts/audio_unit/ClassInfo.h"
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/audio_unit/UnitIO.h"
#include "tests/hosts/common/BlockPartition.h"
#include "tests/hosts/common/RenderOptions.h"

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
    const UnitOptions unitOptions = UnitOptions::take(arguments);
    const std::string inputFrom = arguments.option("--input-from").value_or("callback");
    const std::string route = arguments.option("--parameters").value_or("selector");
    if ((inputFrom != "callback" && inputFrom != "connection") ||
        (route != "selector" && route != "fast" && route != "schedule"))
        throw UsageError("--input-from takes callback or connection, --parameters selector, "
                         "fast or schedule");
    const RenderOptions options = RenderOptions::take(arguments, UnitRenderer::bufferNames());

    const auto maxFrames = UInt32(BlockPartition(options.blockList).largest());
    BundleLibrary bundle(options.pluginPath);
    HostedUnit unit(bundle, unitOptions);
    std::vector<std::string> problems;
    const auto expectNoError = [&](const std::string& what, OSStatus status)
    {
        std::printf("%s answered %d\n", what.c_str(), int(status));
        if (status != noErr)
            problems.push_back(what + " answered " + std::to_string(status));
    };
    std::printf("opened %s on the %s road\n", options.pluginPath.c_str(), unitOptions.roadName());
    expectNoError("4-channel formats",
                  configureFourChannels(unit, options.input.sampleRate, maxFrames));
    InputFeed feed(inputFrom == "connection", options.input, maxFrames);
    expectNoError("input by " + inputFrom, feed.attach(unit));
    if (options.gain || options.direction)
        expectNoError("restore", restoreSettings(unit, options.gain, options.direction));
    if (options.bypass)
        expectNoError("bypass", unit.set(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0,
                                         UInt32(1)));
    expectNoError("initialize", unit.initialize());
    UnitRenderer renderer(unit, feed, options.buffers, maxFrames);
    expectNoError(options.buffers + " buffers", renderer.prepare());

    MultichannelAudio output;
    output.sampleRate = options.input.sampleRate;
    output.channels.assign(kChannels, std::vector<float>(size_t(options.input.frames())));
    const int64_t blocks = forEachBlock(
        options,
        [&](const ScheduledChange& change)
        {
            if (change.isGain)
                expectNoError("gain by " + route,
                              setGain(unit, route, float(parseNumber(change.value, "gain"))));
            else
                expectNoError("direction by restore",
                              restoreSettings(unit, std::nullopt, change.value));
        },
        [&](int64_t offset, int32_t length)
        {
            renderer.render(offset, UInt32(length), output);
            return renderer.problems.empty();
        });
    expectNoError("uninitialize", unit.uninitialize());
    expectNoError("close", unit.close());
    writeRenderResult(options, output, blocks);
    std::printf("input pulled %d times\n", feed.pulls);

    problems.insert(problems.end(), renderer.problems.begin(), renderer.problems.end());
    for (const auto& problem : problems)
        std::printf("PROBLEM: %s\n", problem.c_str());
    return problems.empty() ? exitCode::ok : exitCode::failed;
}
