// Times the AAX audio callback (the process procedure on one context) against processBlock called
// directly, on 512-frame blocks in the same run, and prints what the interface adds. The aim is
// at most 20%.
// Run: build/default/bench/wrapper/aax_wrapper_benchmark
#include "bench/wrapper/BaselineReporter.h"
#include "bench/wrapper/HostBuffers.h"
#include "processor/PluginFactory.h"
#include "wrappers/aax/AaxEntry.h"
#include "wrappers/aax/VeridaneAaxEffect.h"

namespace
{
using namespace benchmarking;
using veridane::aax::AlgorithmContext;

/** One instance initialised as a host would (without a host's objects, so with the defaults),
    its private data reset, and the host's buffers and context; released at the end. */
struct Shared
{
    veridane::aax::VeridaneAaxEffect* effect = new veridane::aax::VeridaneAaxEffect(
        std::unique_ptr<juce::AudioProcessor>(createPluginFilter()));
    HostBuffers host;
    uint64_t privateData = 0;
    int32_t length = blockSize;
    int32_t bypass = 0;

    Shared()
    {
        effect->AddRef();
        effect->Initialize(nullptr);
        effect->ResetFieldData(veridane::aax::privateDataField, &privateData, sizeof privateData);
    }
    ~Shared()
    {
        effect->Uninitialize();
        effect->Release();
    }

    void process(float* const* inputs, float* const* outputs)
    {
        AlgorithmContext context{inputs, outputs, &length, &bypass, nullptr, &privateData};
        AlgorithmContext* const contexts[] = {&context};
        veridane::aax::processContexts(std::begin(contexts), std::end(contexts));
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
    directProcessBlock(state, shared.effect->getProcessor(), shared.host);
}

/** Separate buffers, as native hosts hand them: the callback copies the inputs itself. */
void AaxCallbackSeparate(benchmark::State& state)
{
    auto& shared = Shared::get();
    for (auto _ : state)
    {
        shared.process(shared.host.inputs, shared.host.outputs);
        benchmark::ClobberMemory();
    }
}

/** The host's inputs are its outputs: the callback copies nothing. */
void AaxCallbackInPlace(benchmark::State& state)
{
    auto& shared = Shared::get();
    for (auto _ : state)
    {
        shared.host.refreshOutputs();
        shared.process(shared.host.outputs, shared.host.outputs);
        benchmark::ClobberMemory();
    }
}
} // namespace

// A few percent is the effect to see, so each runs warmed up and repeated, and the median counts.
BENCHMARK(DirectProcessBlock)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(AaxCallbackSeparate)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(AaxCallbackInPlace)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    return runAgainstBaseline(argc, argv, "DirectProcessBlock");
}
