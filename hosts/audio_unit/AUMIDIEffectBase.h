// An effect that also takes MIDI: the effect side answers every property first and the MIDI
// side second; the MIDI selectors and a fast MIDI function reach the MIDI side's handlers.
#pragma once

#include "hosts/audio_unit/AUEffectBase.h"
#include "hosts/audio_unit/AUMIDIBase.h"

class AUMIDIEffectBase : public AUEffectBase, public AUMIDIBase
{
public:
    AUMIDIEffectBase(AudioComponentInstance inInstance, bool inProcessesInPlace);

    OSStatus GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                             AudioUnitElement inElement, UInt32& outDataSize,
                             bool& outWritable) override;
    /** Also hands out the fast MIDI function (fast-dispatch property, element 0x101). */
    OSStatus GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                         AudioUnitElement inElement, void* outData) override;
    OSStatus SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                         AudioUnitElement inElement, const void* inData,
                         UInt32 inDataSize) override;

    /** Both tables' MIDI calls do what the MIDI side's do. */
    OSStatus MIDIEvent(UInt32 inStatus, UInt32 inData1, UInt32 inData2,
                       UInt32 inOffsetSampleFrame) override;
    OSStatus SysEx(const UInt8* inData, UInt32 inLength) override;

    /** What the Component Manager entry hands every selector but open: the MIDI selectors to
        the MIDI side, the rest to AUBase. */
    static OSStatus ComponentEntryDispatch(ComponentParameters* params, AUMIDIEffectBase* This);
};

/** The fast MIDI function, called with the unit's instance storage (its AUBase address). */
OSStatus AUMIDIEffectBaseMIDIEvent(void* inComponentStorage, UInt32 inStatus, UInt32 inData1,
                                   UInt32 inData2, UInt32 inOffsetSampleFrame);
