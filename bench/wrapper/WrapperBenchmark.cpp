// Times the VST 2 process call through the effect record against processBlock called directly,
// on 512-frame blocks in the same run, and prints what the wrapper adds. The aim is at most 20%.
// Run: build/default/bench/wrapper/vst2_wrapper_benchmark
#include "processor/LoomcraftAudioProcessor.h"
#include "wrappers/vst2/VeridaneVstWrapper.h"
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

/** One instance and one set of host buffers for every benchmark: the processor's scratch and the
    host's channels then sit at the same addresses in all of them, so cache and alignment effects
    cancel and only the wrapper's own work differs. */
struct Shared
{
    OpenEffect open;
    HostBuffers host;

    juce::AudioProcessor& processor()
    {
        return static_cast<veridane::vst2::VeridaneVstWrapper*>(open.effect->object)
            ->getProcessor();
    }

    static Shared& get()
    {
        static Shared shared;
        return shared;
    }
};

/** The reference: copy the inputs to the outputs, then processBlock on them. */
void DirectProcessBlock(benchmark::State& state)
{
    auto& shared = Shared::get();
    juce::AudioBuffer<float> block(shared.host.outputs, numChannels, blockSize);
    juce::MidiBuffer midi;
    for (auto _ : state)
    {
        shared.host.refreshOutputs();
        shared.processor().processBlock(block, midi);
        benchmark::ClobberMemory();
    }
}

/** The host's inputs are its outputs: the wrapper copies nothing. */
void RecordInPlace(benchmark::State& state)
{
    auto& shared = Shared::get();
    auto* effect = shared.open.effect;
    for (auto _ : state)
    {
        shared.host.refreshOutputs();
        effect->processReplacing(effect, shared.host.outputs, shared.host.outputs, blockSize);
        benchmark::ClobberMemory();
    }
}

/** Separate buffers: the wrapper copies the inputs to the outputs itself. */
void RecordSeparate(benchmark::State& state)
{
    auto& shared = Shared::get();
    auto* effect = shared.open.effect;
    for (auto _ : state)
    {
        effect->processReplacing(effect, shared.host.inputs, shared.host.outputs, blockSize);
        benchmark::ClobberMemory();
    }
}

/** Crossed buffers go through the wrapper's scratch: one copy more than the others. */
void RecordCrossed(benchmark::State& state)
{
    auto& shared = Shared::get();
    auto* effect = shared.open.effect;
    auto& outputs = shared.host.outputs;
    float* crossed[numChannels] = {outputs[1], outputs[2], outputs[3], outputs[0]};
    for (auto _ : state)
    {
        shared.host.refreshOutputs();
        effect->processReplacing(effect, outputs, crossed, blockSize);
        benchmark::ClobberMemory();
    }
}
} // namespace

// A few percent is the effect to see, so each runs warmed up and repeated, and the median counts.
BENCHMARK(DirectProcessBlock)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(RecordInPlace)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(RecordSeparate)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(RecordCrossed)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);

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
                if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
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
