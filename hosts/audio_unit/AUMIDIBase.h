// MIDI for a unit: channel messages decoded into one handler call each, system-exclusive
// messages, the MIDI names property, and the two MIDI selectors of the Component Manager road.
// A unit class replaces the handlers it cares about; every default answers 0.
#pragma once

#include "platform/AudioUnitTypes.h"

class AUBase;

class AUMIDIBase
{
public:
    explicit AUMIDIBase(AUBase& inBase) : mAUBaseInstance(inBase) {}
    virtual ~AUMIDIBase() = default;

    /** Splits the status into message and channel, keeps the low 8 bits of each data word and
        hands them to HandleMidiEvent. */
    virtual OSStatus MIDIEvent(UInt32 inStatus, UInt32 inData1, UInt32 inData2,
                               UInt32 inOffsetSampleFrame);
    /** kAudioUnitErr_Uninitialized until the unit is initialised; null bytes with a length
        answer kAudio_ParamError. */
    virtual OSStatus SysEx(const UInt8* inData, UInt32 inLength);

    /** The MIDI names property, global scope, element 0, when the unit has names. */
    virtual OSStatus DelegateGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                             AudioUnitElement inElement, UInt32& outDataSize,
                                             bool& outWritable);
    virtual OSStatus DelegateGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement, void* outData);
    /** Nothing MIDI is writable. */
    virtual OSStatus DelegateSetProperty(AudioUnitPropertyID, AudioUnitScope, AudioUnitElement,
                                         const void*, UInt32)
    {
        return kAudioUnitErr_InvalidProperty;
    }

    /** kAudioUnitErr_Uninitialized until the unit is initialised; then note on (a note on
        with velocity 0 is a note off), note off, or HandleNonNoteEvent. */
    virtual OSStatus HandleMidiEvent(UInt8 inStatus, UInt8 inChannel, UInt8 inData1, UInt8 inData2,
                                     UInt32 inStartFrame);
    virtual OSStatus HandleNonNoteEvent(UInt8 inStatus, UInt8 inChannel, UInt8 inData1,
                                        UInt8 inData2, UInt32 inStartFrame);
    /** Where the unit's MIDI names are; a unit without names answers
        kAudioUnitErr_InvalidProperty (outNameDocument may be null: is there a document?). */
    virtual OSStatus GetXMLNames(CFURLRef* /*outNameDocument*/)
    {
        return kAudioUnitErr_InvalidProperty;
    }

    virtual OSStatus HandleNoteOn(UInt8, UInt8, UInt8, UInt32) { return noErr; }
    virtual OSStatus HandleNoteOff(UInt8, UInt8, UInt8, UInt32) { return noErr; }
    virtual OSStatus HandleControlChange(UInt8, UInt8, UInt8, UInt32) { return noErr; }
    virtual OSStatus HandlePitchWheel(UInt8, UInt8, UInt8, UInt32) { return noErr; }
    virtual OSStatus HandleChannelPressure(UInt8, UInt8, UInt32) { return noErr; }
    virtual OSStatus HandleProgramChange(UInt8, UInt8) { return noErr; }
    virtual OSStatus HandlePolyPressure(UInt8, UInt8, UInt8, UInt32) { return noErr; }
    virtual OSStatus HandleResetAllControllers(UInt8) { return noErr; }
    virtual OSStatus HandleAllNotesOff(UInt8) { return noErr; }
    virtual OSStatus HandleAllSoundOff(UInt8) { return noErr; }
    virtual OSStatus HandleSysEx(const UInt8*, UInt32) { return noErr; }

    /** The MIDI selectors of the Component Manager road; any other selector answers
        badComponentSelector, a null MIDI part or a block without all of the selector's arguments
        kAudio_ParamError. */
    static OSStatus ComponentEntryDispatch(ComponentParameters* params, AUMIDIBase* This);

    AUMIDIBase(const AUMIDIBase&) = delete;
    AUMIDIBase& operator=(const AUMIDIBase&) = delete;

protected:
    /** The owning unit, whose initialisation gates incoming MIDI. */
    AUBase& mAUBaseInstance;

private:
    OSStatus CheckNamesProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                AudioUnitElement inElement);
};
