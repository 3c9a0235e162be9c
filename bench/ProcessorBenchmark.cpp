// Times processBlock on 512-frame blocks against a plain copy of the same four channels, so the
// ratio, not the machine, is what to read. Run: build/default/bench/processor_benchmark
#include "processor/LoomcraftAudioProcessor.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace
{
constexpr int blockSize = 512;
constexpr int numChannels = 4;

juce::AudioBuffer<float> signal()
{
    juce::AudioBuffer<float> buffer(numChannels, blockSize);
    juce::Random random(42);
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < blockSize; ++i)
            buffer.setSample(c, i, random.nextFloat() * 2.0f - 1.0f);
    return buffer;
}

void reportPerFrame(benchmark::State& state)
{
    state.SetItemsProcessed(state.iterations() * blockSize);
    state.counters["ns_per_frame"] =
        benchmark::Counter(double(state.iterations() * blockSize),
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

/** The baseline: what a wrapper must do anyway, copy four input channels to the outputs. */
void CopyFourChannels(benchmark::State& state)
{
    const auto input = signal();
    juce::AudioBuffer<float> output(numChannels, blockSize);
    for (auto _ : state)
    {
        for (int c = 0; c < numChannels; ++c)
            output.copyFrom(c, 0, input, c, 0, blockSize);
        benchmark::DoNotOptimize(output.getWritePointer(0));
        benchmark::ClobberMemory();
    }
    reportPerFrame(state);
}

void ProcessSettled(benchmark::State& state)
{
    LoomcraftAudioProcessor processor;
    const auto input = signal();
    juce::AudioBuffer<float> block(numChannels, blockSize);
    juce::MidiBuffer midi;
    for (auto _ : state)
    {
        for (int c = 0; c < numChannels; ++c)
            block.copyFrom(c, 0, input, c, 0, blockSize);
        processor.processBlock(block, midi);
        benchmark::ClobberMemory();
    }
    reportPerFrame(state);
}

/** Every stage moving: direction and gain flip each block, so nothing ever settles or stalls. */
void ProcessGliding(benchmark::State& state)
{
    LoomcraftAudioProcessor processor;
    const auto input = signal();
    juce::AudioBuffer<float> block(numChannels, blockSize);
    juce::MidiBuffer midi;
    int flip = 0;
    for (auto _ : state)
    {
        processor.setConversionMode(flip);
        processor.setParameter(0, flip == 0 ? 0.5f : 0.9f);
        flip ^= 1;
        for (int c = 0; c < numChannels; ++c)
            block.copyFrom(c, 0, input, c, 0, blockSize);
        processor.processBlock(block, midi);
        benchmark::ClobberMemory();
    }
    reportPerFrame(state);
}
} // namespace

BENCHMARK(CopyFourChannels);
BENCHMARK(ProcessSettled);
BENCHMARK(ProcessGliding);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    // Collect the per-frame times so the ratios to the copy can be printed after the table.
    struct RatioReporter : benchmark::ConsoleReporter
    {
        std::map<std::string, double> nsPerFrame;
        void ReportRuns(const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns(runs);
            // With repetitions, the median stands for the benchmark.
            for (const auto& run : runs)
                if (run.aggregate_name.empty() || run.aggregate_name == "median")
                    nsPerFrame[run.run_name.function_name] = run.GetAdjustedRealTime() / blockSize;
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double baseline = reporter.nsPerFrame["CopyFourChannels"];
    for (const auto& [name, ns] : reporter.nsPerFrame)
        std::printf("%-18s %8.3f ns/frame  %6.1fx the copy\n", name.c_str(), ns,
                    baseline > 0 ? ns / baseline : 0.0);
    benchmark::Shutdown();
    return 0;
}
