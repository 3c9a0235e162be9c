// Times the Audio Unit render call through the plug-in block against processBlock called
// directly, on 512-frame blocks in the same run, and prints what the interface adds. The aim is at
// most 20%.
// Run: build/default/bench/wrapper/audio_unit_wrapper_benchmark
#include "bench/wrapper/BaselineReporter.h"
#include "bench/wrapper/HostBuffers.h"
#include "hosts/audio_unit/AUPlugInDispatch.h"
#include "wrappers/audio_unit/AUEntry.h"
#include "wrappers/audio_unit/VeridaneAUWrapper.h"

namespace
{
using namespace benchmarking;

using RenderMethod = OSStatus (*)(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                                  UInt32, AudioBufferList*);

/** One instance opened and initialised as a host would, its input handed the host's own
    buffers by the render callback, and one set of host buffers for every benchmark: the
    processor's scratch and the host's channels then sit at the same addresses in all of them, so
    cache and alignment effects cancel and only the interface's own work differs. */
struct Shared
{
    HostBuffers host;
    AudioComponentPlugInInterface* block = veridane::au::factory(nullptr);
    RenderMethod render = nullptr;
    AudioBuffer lists[numChannels + 1]{};
    AudioTimeStamp time{};

    Shared()
    {
        block->Open(block, reinterpret_cast<AudioComponentInstance>(block));
        AUBase& unit = AUPlugInUnit<veridane::au::VeridaneAUWrapper>(block);
        AudioStreamBasicDescription format{48000.0, kAudioFormatLinearPCM, 0x29, 4, 1, 4, 4, 32, 0};
        for (const AudioUnitScope scope : {kAudioUnitScope_Input, kAudioUnitScope_Output})
            unit.DispatchSetProperty(kAudioUnitProperty_StreamFormat, scope, 0, &format,
                                     sizeof format);
        const UInt32 maxFrames = blockSize;
        unit.DispatchSetProperty(kAudioUnitProperty_MaximumFramesPerSlice, 0, 0, &maxFrames,
                                 sizeof maxFrames);
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
            list->mBuffers[c].mData = shared.host.inputs[c];
        return noErr;
    }

    OSStatus renderOnce()
    {
        auto& list = *reinterpret_cast<AudioBufferList*>(lists);
        list.mNumberBuffers = numChannels;
        for (int c = 0; c < numChannels; ++c)
            list.mBuffers[c] = {1, UInt32(blockSize * sizeof(float)), host.outputs[c]};
        time.mSampleTime += blockSize;
        AudioUnitRenderActionFlags flags = 0;
        return render(block, &flags, &time, 0, UInt32(blockSize), &list);
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

/** The baseline with denormals flushed, as the render call flushes them. */
void DirectProcessBlock(benchmark::State& state)
{
    auto& shared = Shared::get();
    const juce::ScopedNoDenormals noDenormals;
    directProcessBlock(state, shared.processor(), shared.host);
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
    return runAgainstBaseline(argc, argv, "DirectProcessBlock");
}
