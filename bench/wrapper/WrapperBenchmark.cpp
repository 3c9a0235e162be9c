// Times the VST 2 process call through the effect record against processBlock called directly,
// on 512-frame blocks in the same run, and prints what the wrapper adds. The aim is at most 20%.
// Run: build/default/bench/wrapper/vst2_wrapper_benchmark
#include "processor/LoomcraftAudioProcessor.h"
#include "wrappers/vst2/VstEntry.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace
{
constexpr int blockSize = 512;
constexpr int numChannels = 4;

intptr_t silentHost(AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
    return 0;
}

/** The host's buffers: fixed inputs, and outputs of their own. */
struct HostBuffers
{
    juce::AudioBuffer<float> input{numChannels, blockSize};
    juce::AudioBuffer<float> output{numChannels, blockSize};
    float* inputs[numChannels];
    float* outputs[numChannels];

    HostBuffers()
    {
        juce::Random random(42);
        for (int c = 0; c < numChannels; ++c)
        {
            for (int i = 0; i < blockSize; ++i)
                input.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
            inputs[c] = input.getWritePointer(c);
            outputs[c] = output.getWritePointer(c);
        }
    }

    /** Fresh input in the output buffers, for in-place processing that does not compound. */
    void refreshOutputs()
    {
        for (int c = 0; c < numChannels; ++c)
            output.copyFrom(c, 0, input, c, 0, blockSize);
    }
};

/** An instance opened and started as a host would, closed at the end. */
struct OpenEffect
{
    AEffect* effect = veridane::vst2::createEffect(silentHost);

    OpenEffect()
    {
        effect->dispatcher(effect, effSetSampleRate, 0, 0, nullptr, 48000.0f);
        effect->dispatcher(effect, effSetBlockSize, 0, blockSize, nullptr, 0.0f);
        effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
    }
    ~OpenEffect() { effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f); }
};

/** The reference: copy the inputs to the outputs, then processBlock on them. */
void DirectProcessBlock(benchmark::State& state)
{
    LoomcraftAudioProcessor processor;
    processor.setPlayConfigDetails(numChannels, numChannels, 48000.0, blockSize);
    HostBuffers host;
    juce::AudioBuffer<float> block(host.outputs, numChannels, blockSize);
    juce::MidiBuffer midi;
    for (auto _ : state)
    {
        host.refreshOutputs();
        processor.processBlock(block, midi);
        benchmark::ClobberMemory();
    }
}

/** The host's inputs are its outputs: the wrapper copies nothing. */
void RecordInPlace(benchmark::State& state)
{
    OpenEffect open;
    HostBuffers host;
    for (auto _ : state)
    {
        host.refreshOutputs();
        open.effect->processReplacing(open.effect, host.outputs, host.outputs, blockSize);
        benchmark::ClobberMemory();
    }
}

/** Separate buffers: the wrapper copies the inputs to the outputs itself. */
void RecordSeparate(benchmark::State& state)
{
    OpenEffect open;
    HostBuffers host;
    for (auto _ : state)
    {
        open.effect->processReplacing(open.effect, host.inputs, host.outputs, blockSize);
        benchmark::ClobberMemory();
    }
}

/** Crossed buffers go through the wrapper's scratch: one copy more than the others. */
void RecordCrossed(benchmark::State& state)
{
    OpenEffect open;
    HostBuffers host;
    float* crossed[numChannels] = {host.outputs[1], host.outputs[2], host.outputs[3],
                                   host.outputs[0]};
    for (auto _ : state)
    {
        host.refreshOutputs();
        open.effect->processReplacing(open.effect, host.outputs, crossed, blockSize);
        benchmark::ClobberMemory();
    }
}
} // namespace

BENCHMARK(DirectProcessBlock);
BENCHMARK(RecordInPlace);
BENCHMARK(RecordSeparate);
BENCHMARK(RecordCrossed);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    struct TimeReporter : benchmark::ConsoleReporter
    {
        std::map<std::string, double> nsPerBlock;
        void ReportRuns(const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns(runs);
            // With repetitions, the mean stands for the benchmark.
            for (const auto& run : runs)
                if (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean")
                    nsPerBlock[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double direct = reporter.nsPerBlock["DirectProcessBlock"];
    for (const auto& [name, ns] : reporter.nsPerBlock)
        if (name != "DirectProcessBlock" && direct > 0)
            std::printf("%-16s %+6.1f%% against processBlock called directly\n", name.c_str(),
                        (ns / direct - 1.0) * 100.0);
    benchmark::Shutdown();
    return 0;
}
