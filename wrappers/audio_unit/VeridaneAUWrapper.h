#pragma once

#include "hosts/audio_unit/AUMIDIEffectBase.h"
#include "wrappers/audio_unit/MidiGatherer.h"
#include "wrappers/common/BlockRunner.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <vector>

namespace veridane::au
{

/** One Audio Unit instance of the plug-in: a MIDI-controlled effect that owns the processor and
    turns the unit's operations into processor calls.

    The host's parameters are the processor's, in the global scope; the global element holds one
    indexed slot per parameter, kept in step with the processor, so the parameter list, the
    parameter info and the saved "data" records describe them. The saved state carries the
    processor's state block under "jucePluginState", and only that key sets the processor on a
    restore.

    Threads: property, parameter and lifecycle calls come from host threads, render from the audio
    thread, MIDI from either. Changes the processor makes itself reach the host as parameter
    events; host changes go only to the processor, so neither side hears its own change back. */
class VeridaneAUWrapper : public AUMIDIEffectBase, private juce::AudioProcessorListener
{
public:
    /** Creates the processor; throws std::bad_alloc when it cannot be created, and
        kAudioUnitErr_FailedInitialization in a process without CoreFoundation. */
    explicit VeridaneAUWrapper(AudioComponentInstance inInstance);
    ~VeridaneAUWrapper() override;

    juce::AudioProcessor& getProcessor() noexcept { return *processor; }
    /** What the host's MIDI calls gathered since the last render (for tests). */
    juce::MidiBuffer gatheredMidi() const { return incomingMidi.copy(); }

    //==============================================================================================
    // Identity

    OSStatus Version() override;
    /** The one channel configuration: 4 in, 4 out. */
    UInt32 SupportedNumChannels(const AUChannelInfo** outInfo) override;
    Float64 GetLatency() override;
    Float64 GetTailTime() override;
    bool SupportsTail() override { return true; }
    /** Parameter events are applied at once, never kept for slicing. */
    bool CanScheduleParameters() const override { return false; }

    //==============================================================================================
    // Lifecycle and render

    /** The channel check, then the processor is prepared for 4 in, 4 out, the output's sample
        rate and the maximum frames per slice. */
    OSStatus Initialize() override;
    void Cleanup() override;
    OSStatus Reset(AudioUnitScope inScope, AudioUnitElement inElement) override;
    /** Audio thread: the four inputs copied to the outputs and converted there, under the
        processor's callback lock; blocks longer than the processor takes go in pieces. */
    OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& ioActionFlags,
                                const AudioBufferList& inBuffer, AudioBufferList& outBuffer,
                                UInt32 inFramesToProcess) override;

    //==============================================================================================
    // Parameters

    OSStatus GetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                          AudioUnitElement inElement, AudioUnitParameterValue& outValue) override;
    OSStatus SetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                          AudioUnitElement inElement, AudioUnitParameterValue inValue,
                          UInt32 inBufferOffsetInFrames) override;
    /** The name is handed over retained: the caller releases it. */
    OSStatus GetParameterInfo(AudioUnitScope inScope, AudioUnitParameterID inParameterID,
                              AudioUnitParameterInfo& outParameterInfo) override;

    //==============================================================================================
    // Saved state and presets

    OSStatus SaveState(CFPropertyListRef* outData) override;
    /** A dictionary only; its "data" records are left out, its "jucePluginState" sets the
        processor. */
    OSStatus RestoreState(CFPropertyListRef inData) override;
    /** One preset per program, numbered by index. */
    OSStatus GetPresets(CFArrayRef* outData) override;
    OSStatus NewFactoryPresetSet(const AUPreset& inNewFactoryPreset) override;

    //==============================================================================================
    // MIDI: gathered, whether or not the unit is initialised, and otherwise ignored.

    OSStatus HandleMidiEvent(UInt8 inStatus, UInt8 inChannel, UInt8 inData1, UInt8 inData2,
                             UInt32 inStartFrame) override;
    OSStatus HandleSysEx(const UInt8* inData, UInt32 inLength) override;

private:
    bool isParameter(AudioUnitParameterID inID) const noexcept;
    /** Copies the processor's parameter values into the global element's slots. */
    void updateParameterSlots();
    void sendParameterEvent(AudioUnitEventType type, int index);

    // From the processor, on whichever thread changed it: the editor's, the audio thread, or one
    // holding the processor's callback lock, for which a host call holding the unit's mutex may
    // be waiting. So they never take that mutex. What they touch holds without it: the parameter
    // slots are atomics, the present preset is replaced whole, and the listeners are called from
    // the copy of their list a call finds.
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails& details) override;
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override;

    std::unique_ptr<juce::AudioProcessor> processor;
    const int numParameters;
    /** One per program, built once: hosts keep pointers to them. */
    std::vector<AUPreset> presets;
    wrappers::BlockRunner runner;
    MidiGatherer incomingMidi;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(VeridaneAUWrapper)
};

} // namespace veridane::au
