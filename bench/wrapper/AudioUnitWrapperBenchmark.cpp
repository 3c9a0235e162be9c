// Times the Audio Unit render call through the plug-in block against processBlock called
// directly, on 512-frame blocks in the same run, and prints what the interface adds. The aim is at
// most 20%.
// Run: build/default/bench/wrapper/audio_unit_wrapper_benchmark
#include "hosts/audio_unit/AUPlugInDispatch.h"
#include "wrappers/audio_unit/AUEntry.h"
#include "wrappers/audio_unit/VeridaneAUWrapper.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace
{
constexpr UInt32 blockSize = 512;
constexpr int numChannels = 4;

using RenderMethod = OSStatus (*)(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                                  UInt32, AudioBufferList*);

/** One instance opened and initialised as a host would, its input handed the host's own
    buffers by the render callback, and one set of host buffers for every benchmark: the
    processor's scratch and the host's channels then sit at the same addresses in all of them, so
    cache and alignment effects cancel and only the interface's own work differs. */
struct Shared
{
    juce::AudioBuffer<float> input{numChannels, int(blockSize)};
    juce::AudioBuffer<float> output{numChannels, int(blockSize)};
    AudioComponentPlugInInterface* block = veridane::au::factory(nullptr);
    RenderMethod render = nullptr;
    AudioBuffer lists[numChannels + 1]{};
    AudioTimeStamp time{};

    Shared()
    {
        juce::Random random(42);
        for (int c = 0; c < numChannels; ++c)
            for (UInt32 i = 0; i < blockSize; ++i)
                input.setSample(c, int(i), random.nextFloat() * 2.0f - 1.0f);

        block->Open(block, reinterpret_cast<AudioComponentInstance>(block));
        AUBase& unit = AUPlugInUnit<veridane::au::VeridaneAUWrapper>(block);
        AudioStreamBasicDescription format{48000.0, kAudioFormatLinearPCM, 0x29, 4, 1, 4, 4, 32, 0};
        for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
            unit.DispatchSetProperty(kAudioUnitProperty_StreamFormat, scope, 0, &format,
                                     sizeof format);
        unit.DispatchSetProperty(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &blockSize,
                                 sizeof blockSize);
        const AURenderCallbackStruct callback{ProvideInput, this};
        unit.DispatchSetProperty(kAudioUnitProperty_SetRenderCallback, kAudioUnitScope_Input, 0,
                                 &callback, sizeof callback);
        unit.DoInitialize();
        render = reinterpret_cast<RenderMethod>(block->Lookup(kAudioUnitRenderSelect));
    }
    ~Shared() { block->Close(block); }

    /** The host's input buffers, handed over without a copy. */
    static OSStatus ProvideInput(void* refCon, AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                 UInt32, UInt32, AudioBufferList* list)
    {
        auto& shared = *static_cast<Shared*>(refCon);
        for (int c = 0; c < numChannels; ++c)
            list->mBuffers[c].mData = shared.input.getWritePointer(c);
        return noErr;
    }

    OSStatus renderOnce()
    {
        auto& list = *reinterpret_cast<AudioBufferList*>(lists);
        list.mNumberBuffers = numChannels;
        for (int c = 0; c < numChannels; ++c)
            list.mBuffers[c] = {1, blockSize * 4, output.getWritePointer(c)};
        time.mSampleTime += blockSize;
        AudioUnitRenderActionFlags flags = 0;
        return render(block, &flags, &time, 0, blockSize, &list);
    }

    juce::AudioProcessor& processor()
    {
        return AUPlugInUnit<veridane::au::VeridaneAUWrapper>(block).getProcessor();
    }

    static Shared& get()
    {
        static Shared shared;
        return shared;
    }
};

/** The reference: copy the inputs to the outputs, then processBlock on them, with denormals
    flushed as the render call flushes them. */
void DirectProcessBlock(benchmark::State& state)
{
    auto& shared = Shared::get();
    juce::MidiBuffer midi;
    const juce::ScopedNoDenormals noDenormals;
    for (auto _ : state)
    {
        for (int c = 0; c < numChannels; ++c)
            shared.output.copyFrom(c, 0, shared.input, c, 0, int(blockSize));
        shared.processor().processBlock(shared.output, midi);
        benchmark::ClobberMemory();
    }
}

/** The render call: input pulled from the host, copied to the host's outputs, converted. */
void AudioUnitRender(benchmark::State& state)
{
    auto& shared = Shared::get();
    for (auto _ : state)
    {
        if (shared.renderOnce() != noErr)
            state.SkipWithError("the render call failed");
        benchmark::ClobberMemory();
    }
}
} // namespace

// A few percent is the effect to see, so each runs warmed up and repeated, and the median counts.
BENCHMARK(DirectProcessBlock)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);
BENCHMARK(AudioUnitRender)->MinWarmUpTime(0.2)->Repetitions(7)->ReportAggregatesOnly(true);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;

    struct MedianReporter : benchmark::ConsoleReporter
    {
        std::map<std::string, double> nsPerBlock;
        void ReportRuns(const std::vector<Run>& runs) override
        {
            ConsoleReporter::ReportRuns(runs);
            for (const auto& run : runs)
                if (run.run_type == Run::RT_Iteration || run.aggregate_name == "median")
                    nsPerBlock[run.run_name.function_name] = run.GetAdjustedRealTime();
        }
    } reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const double direct = reporter.nsPerBlock["DirectProcessBlock"];
    if (direct > 0)
        std::printf("AudioUnitRender %+6.1f%% against processBlock called directly\n",
                    (reporter.nsPerBlock["AudioUnitRender"] / direct - 1.0) * 100.0);
    benchmark::Shutdown();
    return 0;
}
