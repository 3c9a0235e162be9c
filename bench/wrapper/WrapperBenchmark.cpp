// Times the VST 2 process call through the effect record against processBlock called directly,
// on 512-frame blocks in the same run, and prints what the wrapper adds. The aim is at most 20%.
// Run: build/default/bench/wrapper/vst2_wrapper_benchmark
#include "bench/wrapper/BaselineReporter.h"
#include "bench/wrapper/HostBuffers.h"
#include "processor/LoomcraftAudioProcessor.h"
#include "wrappers/vst2/VeridaneVstWrapper.h"
#include "wrappers/vst2/VstEntry.h"

#include <benchmark/benchmark.h>

namespace
{
using benchmarking::blockSize;
using benchmarking::HostBuffers;
using benchmarking::numChannels;

intptr_t silentHost(AEffect*, int32_t, int32_t, intptr_t, void*, float)
{
    return 0;
}

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

void DirectProcessBlock(benchmark::State& state)
{
    auto& shared = Shared::get();
    benchmarking::directProcessBlock(state, shared.processor(), shared.host);
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
    return runAgainstBaseline(argc, argv, "DirectProcessBlock");
}
