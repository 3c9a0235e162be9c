// Times processBlock against a plain copy of the same four channels at several block sizes, so
// the ratio, not the machine, is what to read. Run: build/default/bench/processor_benchmark
// (add --benchmark_repetitions=5 for medians).
#include "processor/LoomcraftAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace
{
constexpr int numChannels = 4;

juce::AudioBuffer<float> signal(int numFrames)
{
    juce::AudioBuffer<float> buffer(numChannels, numFrames);
    juce::Random random(42);
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < numFrames; ++i)
            buffer.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
    return buffer;
}

int framesOf(const benchmark::State& state)
{
    return int(state.range(0));
}

void reportPerFrame(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * framesOf(state));
    state.counters["ns_per_frame"] =
        benchmark::Counter(double(state.iterations() * framesOf(state)),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

/** Refills the block with fresh input and processes it, once per iteration. */
void processRepeatedly(benchmark::State& state, LoomcraftAudioProcessor& processor,
                       void (*beforeBlock)(LoomcraftAudioProcessor&, int) = nullptr)
{
    const auto input = signal(framesOf(state));
    juce::AudioBuffer<float> block(numChannels, framesOf(state));
    juce::MidiBuffer midi;
    int blockIndex = 0;
    for (auto _ : state)
    {
        if (beforeBlock != nullptr)
            beforeBlock(processor, blockIndex++);
        for (int c = 0; c < numChannels; ++c)
            block.copyFrom(c, 0, input, c, 0, framesOf(state));
        processor.processBlock(block, midi);
        benchmark::ClobberMemory();
    }
    reportPerFrame(state);
}

/** The baseline: what a wrapper must do anyway, copy four input channels to the outputs. */
void CopyFourChannels(benchmark::State& state)
{
    const auto input = signal(framesOf(state));
    juce::AudioBuffer<float> output(numChannels, framesOf(state));
    for (auto _ : state)
    {
        for (int c = 0; c < numChannels; ++c)
            output.copyFrom(c, 0, input, c, 0, framesOf(state));
        benchmark::DoNotOptimize(output.getWritePointer(0));
        benchmark::ClobberMemory();
    }
    reportPerFrame(state);
}

void ProcessSettled(benchmark::State& state)
{
    LoomcraftAudioProcessor processor;
    processRepeatedly(state, processor);
}

/** After a switch to ambiX -> FuMa and a gain change to -6 dB, once every glide has stalled a
    few units in the last place short of its target: the state a user leaves a session in. */
void ProcessSteadyAfterSwitch(benchmark::State& state)
{
    LoomcraftAudioProcessor processor;
    processor.setConversionMode(1);
    processor.setParameter(0, 0.84f);
    auto warmUp = signal(4096);
    juce::MidiBuffer midi;
    for (int block = 0; block < 8; ++block)
        processor.processBlock(warmUp, midi);

    const float stalled[] = {processor.currentWeightW, processor.currentPermutation,
                             processor.currentGain};
    processor.processBlock(warmUp, midi);
    const bool still = stalled[0] == processor.currentWeightW &&
                       stalled[1] == processor.currentPermutation &&
                       stalled[2] == processor.currentGain;
    const bool shortOfTargets =
        processor.currentWeightW != processor.targetWeightW.load() &&
        processor.currentPermutation != processor.targetPermutation.load() &&
        processor.currentGain != processor.targetGain.load();
    if (!still || !shortOfTargets)
        state.SkipWithError("the glides did not stall short of their targets");
    processRepeatedly(state, processor);
}

/** Every stage moving: direction and gain flip each block, so nothing ever settles or stalls. */
void ProcessGliding(benchmark::State& state)
{
    LoomcraftAudioProcessor processor;
    processRepeatedly(state, processor,
                      [](LoomcraftAudioProcessor& p, int blockIndex)
                      {
                          const int flip = blockIndex & 1;
                          p.setConversionMode(flip);
                          p.setParameter(0, flip == 0 ? 0.5f : 0.9f);
                      });
}

void blockSizes(benchmark::internal::Benchmark* benchmark)
{
    for (int frames : {16, 64, 512, 2048, 8192})
        benchmark->Arg(frames);
}
} // namespace

BENCHMARK(CopyFourChannels)->Apply(blockSizes);
BENCHMARK(ProcessSettled)->Apply(blockSizes);
BENCHMARK(ProcessSteadyAfterSwitch)->Apply(blockSizes);
BENCHMARK(ProcessGliding)->Apply(blockSizes);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    // Collect the per-frame times so the ratios to the copy can be printed after the table.
    struct RatioReporter : benchmark::ConsoleReporter
    {
        std::map<std::string, std::map<int, double>> nsPerFrame;
        void ReportRuns(const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns(runs);
            // With repetitions, the median stands for the benchmark.
            for (const auto& run : runs)
                if (run.aggregate_name.empty() || run.aggregate_name == "median")
                {
                    const int frames = std::stoi(run.run_name.args);
                    nsPerFrame[run.run_name.function_name][frames] =
                        run.GetAdjustedRealTime() / frames;
                }
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const auto& copy = reporter.nsPerFrame["CopyFourChannels"];
    for (const auto& [name, byFrames] : reporter.nsPerFrame)
        for (const auto& [frames, ns] : byFrames)
        {
            const auto baseline = copy.find(frames);
            const double ratio = baseline != copy.end() ? ns / baseline->second : 0.0;
            std::printf("%-24s %5d frames %8.3f ns/frame  %6.2fx the copy\n", name.c_str(), frames,
                        ns, ratio);
        }
    benchmark::Shutdown();
    return 0;
}
