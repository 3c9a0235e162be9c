// A MIDI effect for the effect-base, MIDI and entry-point tests: kernels that double every sample
// and log their calls, a channel table and tail time a test picks, MIDI handlers that log what
// reached them, and a count of live units whose construction and clean-up a test can make fail.
#pragma once

#include "hosts/audio_unit/AUMIDIEffectBase.h"

#include "tests/audio_unit/TestUnit.h"

#include <string>
#include <vector>

namespace autest
{

/** Doubles each sample; leaves the silence flag alone while the output is zero. */
class DoublingKernel : public AUKernelBase
{
public:
    explicit DoublingKernel(std::vector<UInt32>& sliceLog) : slices(sliceLog) {}

    void Process(const Float32* in, Float32* out, UInt32 frames, UInt32 stride,
                 bool& silence) override
    {
        run(in, out, frames, stride, silence);
    }
    void Process(const SInt32* in, SInt32* out, UInt32 frames, UInt32 stride,
                 bool& silence) override
    {
        run(in, out, frames, stride, silence);
    }
    void Process(const SInt16* in, SInt16* out, UInt32 frames, UInt32 stride,
                 bool& silence) override
    {
        run(in, out, frames, stride, silence);
    }

private:
    template <typename Sample>
    void run(const Sample* in, Sample* out, UInt32 frames, UInt32 stride, bool& silence)
    {
        slices.push_back(frames);
        for (UInt32 i = 0; i < frames; ++i)
        {
            out[i * stride] = Sample(in[i * stride] * 2);
            silence = silence && out[i * stride] == 0;
        }
    }

    std::vector<UInt32>& slices;
};

class TestEffect : public AUMIDIEffectBase
{
public:
    explicit TestEffect(AudioComponentInstance instance = nullptr)
        : AUMIDIEffectBase(instance, false)
    {
        ++live;
    }
    ~TestEffect() override { --live; }

    void PostConstructor() override
    {
        if (failPostConstructor)
            throw OSStatus(-42);
        AUMIDIEffectBase::PostConstructor();
    }
    void PreDestructor() override
    {
        AUMIDIEffectBase::PreDestructor();
        if (failPreDestructor)
            throw OSStatus(-43);
    }

    std::unique_ptr<AUKernelBase> NewKernel() override
    {
        return std::make_unique<DoublingKernel>(kernelSlices);
    }
    UInt32 SupportedNumChannels(const AUChannelInfo** outInfo) override
    {
        if (outInfo != nullptr)
            *outInfo = channels.data();
        return UInt32(channels.size());
    }
    Float64 GetTailTime() override { return tailSeconds; }
    OSStatus Reset(AudioUnitScope scope, AudioUnitElement element) override
    {
        ++resets;
        return AUMIDIEffectBase::Reset(scope, element);
    }
    void SetBypassEffect(bool bypass) override
    {
        ++bypassSets;
        AUMIDIEffectBase::SetBypassEffect(bypass);
    }

    // The handlers log "Name arguments...".
    OSStatus HandleNoteOn(UInt8 c, UInt8 n, UInt8 v, UInt32 f) override
    {
        return log("NoteOn", {c, n, v, f});
    }
    OSStatus HandleNoteOff(UInt8 c, UInt8 n, UInt8 v, UInt32 f) override
    {
        return log("NoteOff", {c, n, v, f});
    }
    OSStatus HandleControlChange(UInt8 c, UInt8 n, UInt8 v, UInt32 f) override
    {
        return log("ControlChange", {c, n, v, f});
    }
    OSStatus HandlePitchWheel(UInt8 c, UInt8 l, UInt8 m, UInt32 f) override
    {
        return log("PitchWheel", {c, l, m, f});
    }
    OSStatus HandleChannelPressure(UInt8 c, UInt8 v, UInt32 f) override
    {
        return log("ChannelPressure", {c, v, f});
    }
    OSStatus HandleProgramChange(UInt8 c, UInt8 p) override { return log("ProgramChange", {c, p}); }
    OSStatus HandlePolyPressure(UInt8 c, UInt8 k, UInt8 v, UInt32 f) override
    {
        return log("PolyPressure", {c, k, v, f});
    }
    OSStatus HandleResetAllControllers(UInt8 c) override { return log("ResetAllControllers", {c}); }
    OSStatus HandleAllNotesOff(UInt8 c) override { return log("AllNotesOff", {c}); }
    OSStatus HandleAllSoundOff(UInt8 c) override { return log("AllSoundOff", {c}); }
    OSStatus HandleSysEx(const UInt8*, UInt32 length) override { return log("SysEx", {length}); }

    void SetAPIVersion(UInt8 version) { mAudioUnitAPIVersion = version; }

    std::vector<AUChannelInfo> channels;
    Float64 tailSeconds = 0.0;
    int resets = 0;
    int bypassSets = 0;
    std::vector<UInt32> kernelSlices;
    std::vector<std::string> calls;

    static inline int live = 0;
    static inline bool failPostConstructor = false;
    static inline bool failPreDestructor = false;

private:
    OSStatus log(const char* name, std::initializer_list<UInt32> arguments)
    {
        std::string text = name;
        for (const UInt32 argument : arguments)
            text += " " + std::to_string(argument);
        calls.push_back(text);
        return noErr;
    }
};

} // namespace autest
