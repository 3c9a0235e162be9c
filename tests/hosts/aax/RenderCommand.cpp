// render: load, register, open an instance, configure it (the 'juce' chunk, the master bypass),
// render block by block (coefficients, packets into the port, the process procedure), release,
// write the result.
#include "tests/hosts/aax/Commands.h"
#include "tests/hosts/common/RenderOptions.h"

#include <cstdio>

int runRender(Arguments& arguments)
{
    const RenderOptions options = RenderOptions::take(arguments);
    fakeaax::FakeHost host;
    std::vector<std::string> problems;
    int32_t liveObjects = 0;
    int64_t blocks = 0;
    MultichannelAudio output;
    {
        AaxBundle bundle(host, options.pluginPath);
        std::printf("loaded %s\n", bundle.path().c_str());
        {
            HostedInstance instance(bundle, options.input.sampleRate);
            if (options.gain || options.direction)
                std::printf("'juce' chunk answered %ld\n",
                            long(instance.restoreState(options.gain, options.direction)));
            // Through the host's road: the parameter's update, then its packet into the port.
            if (options.bypass)
                std::printf("bypass update answered %ld\n",
                            long(instance.update("MasterBypassID", 1.0)));

            output = renderBlocks(
                options,
                [&](const ScheduledChange& change)
                {
                    if (change.isGain)
                        instance.update("0", parseNumber(change.value, "gain"));
                    else
                        instance.restoreState(std::nullopt, change.value);
                },
                [&](float** inputs, float** outputs, int32_t length)
                {
                    for (const auto& packet : instance.generateCoefficients())
                        if (options.verbose)
                            std::printf("packet %s\n", packet.c_str());
                    instance.process(inputs, outputs, length);
                },
                blocks);
            problems = instance.problems;
            std::printf("state at the end: %s\n", instance.stateText().c_str());
        }
        liveObjects = bundle.exports().canUnloadNow(nullptr);
    }
    checkReleased(liveObjects, host, problems);
    writeRenderResult(options, output, blocks);
    return report(problems);
}
