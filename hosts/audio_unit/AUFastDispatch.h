// The three functions a host gets through the fast-dispatch property of a unit opened through
// the Component Manager, and then calls with the unit's instance storage, which is the unit
// itself (its AUBase address), bypassing the selector switch. They take no lock; each is a
// null check and one call inside the entry catch.
#pragma once

#include "platform/AudioUnitTypes.h"

OSStatus CMgr_AudioUnitBaseGetParameter(void* This, AudioUnitParameterID inID,
                                        AudioUnitScope inScope, AudioUnitElement inElement,
                                        AudioUnitParameterValue* outValue);
OSStatus CMgr_AudioUnitBaseSetParameter(void* This, AudioUnitParameterID inID,
                                        AudioUnitScope inScope, AudioUnitElement inElement,
                                        AudioUnitParameterValue inValue,
                                        UInt32 inBufferOffsetInFrames);
OSStatus CMgr_AudioUnitBaseRender(void* This, AudioUnitRenderActionFlags* ioActionFlags,
                                  const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber,
                                  UInt32 inNumberFrames, AudioBufferList* ioData);
