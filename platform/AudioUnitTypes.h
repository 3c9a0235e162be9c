// The Audio Unit interface as hosts and units see it: ids, scopes, selectors, status codes,
// flags, the records passed through properties and selectors (layouts checked below), the
// function types of callbacks and fast-dispatch functions, and the plug-in block of the
// AudioComponent factory.
#pragma once

#include "platform/Components.h"
#include "platform/CoreAudioTypes.h"
#include "platform/CoreFoundation.h"

#include <cstddef>

typedef UInt32 AudioUnitPropertyID;
typedef UInt32 AudioUnitScope;
typedef UInt32 AudioUnitElement;
typedef UInt32 AudioUnitParameterID;
typedef Float32 AudioUnitParameterValue;
typedef UInt32 AudioUnitRenderActionFlags;
typedef UInt32 AUParameterEventType;
typedef UInt32 AudioUnitParameterUnit;
typedef UInt32 AudioUnitParameterOptions;

//==================================================================================================
// Status codes

enum : OSStatus
{
    kAudioUnitErr_Initialized = -10849,
    kAudioUnitErr_InvalidPropertyValue = -10851,
    kAudioUnitErr_PropertyNotWritable = -10865,
    kAudioUnitErr_InvalidScope = -10866,
    kAudioUnitErr_Uninitialized = -10867,
    kAudioUnitErr_FormatNotSupported = -10868,
    kAudioUnitErr_TooManyFramesToProcess = -10874,
    kAudioUnitErr_FailedInitialization = -10875,
    kAudioUnitErr_NoConnection = -10876,
    kAudioUnitErr_InvalidElement = -10877,
    kAudioUnitErr_InvalidParameter = -10878,
    kAudioUnitErr_InvalidProperty = -10879,
};

//==================================================================================================
// Scopes, selectors, properties and flags

enum : AudioUnitScope
{
    kAudioUnitScope_Global = 0,
    kAudioUnitScope_Input = 1,
    kAudioUnitScope_Output = 2,
    kAudioUnitScope_Group = 3,
    kAudioUnitScope_Part = 4,
};

/** Selectors of the Audio Unit calls, on both roads (Lookup and the Component Manager). */
enum : SInt16
{
    kAudioUnitInitializeSelect = 1,
    kAudioUnitUninitializeSelect = 2,
    kAudioUnitGetPropertyInfoSelect = 3,
    kAudioUnitGetPropertySelect = 4,
    kAudioUnitSetPropertySelect = 5,
    kAudioUnitGetParameterSelect = 6,
    kAudioUnitSetParameterSelect = 7,
    kAudioUnitResetSelect = 9,
    kAudioUnitAddPropertyListenerSelect = 10,
    kAudioUnitRemovePropertyListenerSelect = 11,
    kAudioUnitRenderSelect = 14,
    kAudioUnitAddRenderNotifySelect = 15,
    kAudioUnitRemoveRenderNotifySelect = 16,
    kAudioUnitScheduleParametersSelect = 17,
    kAudioUnitRemovePropertyListenerWithUserDataSelect = 18,
    kMusicDeviceMIDIEventSelect = 0x101,
    kMusicDeviceSysExSelect = 0x102,
};

enum : AudioUnitPropertyID
{
    kAudioUnitProperty_ClassInfo = 0,
    kAudioUnitProperty_MakeConnection = 1,
    kAudioUnitProperty_SampleRate = 2,
    kAudioUnitProperty_ParameterList = 3,
    kAudioUnitProperty_ParameterInfo = 4,
    kAudioUnitProperty_FastDispatch = 5,
    kAudioUnitProperty_CPULoad = 6,
    kAudioUnitProperty_StreamFormat = 8,
    kAudioUnitProperty_ElementCount = 11,
    kAudioUnitProperty_Latency = 12,
    kAudioUnitProperty_SupportedNumChannels = 13,
    kAudioUnitProperty_MaximumFramesPerSlice = 14,
    kAudioUnitProperty_SetExternalBuffer = 15,
    kAudioUnitProperty_ParameterValueStrings = 16,
    kAudioUnitProperty_GetUIComponentList = 18,
    kAudioUnitProperty_AudioChannelLayout = 19,
    kAudioUnitProperty_TailTime = 20,
    kAudioUnitProperty_BypassEffect = 21,
    kAudioUnitProperty_LastRenderError = 22,
    kAudioUnitProperty_SetRenderCallback = 23,
    kAudioUnitProperty_FactoryPresets = 24,
    kAudioUnitProperty_ContextName = 25,
    kAudioUnitProperty_RenderQuality = 26,
    kAudioUnitProperty_HostCallbacks = 27,
    kAudioUnitProperty_InPlaceProcessing = 29,
    kAudioUnitProperty_ElementName = 30,
    kAudioUnitProperty_SupportedChannelLayoutTags = 32,
    kAudioUnitProperty_ParameterClumpName = 35,
    kAudioUnitProperty_PresentPreset = 36,
    kAudioUnitProperty_IconLocation = 39,
    kAudioUnitProperty_ShouldAllocateBuffer = 51,
    kAudioUnitProperty_ParameterHistoryInfo = 53,
    kMusicDeviceProperty_MIDIXMLNames = 1006,
};

enum : AudioUnitRenderActionFlags
{
    kAudioUnitRenderAction_PreRender = 0x4,
    kAudioUnitRenderAction_PostRender = 0x8,
    kAudioUnitRenderAction_OutputIsSilence = 0x10,
    kAudioUnitRenderAction_PostRenderError = 0x100,
};

enum : AUParameterEventType
{
    kParameterEvent_Immediate = 1,
    kParameterEvent_Ramped = 2,
};

enum : UInt32
{
    kAudioUnitClumpID_System = 0,
};

enum : AudioUnitParameterUnit
{
    kAudioUnitParameterUnit_Generic = 0,
};

enum : AudioUnitParameterOptions
{
    /** The caller of a parameter-info get owns cfNameString and releases it. */
    kAudioUnitParameterFlag_CFNameRelease = 1u << 4,
    kAudioUnitParameterFlag_HasCFNameString = 1u << 27,
    kAudioUnitParameterFlag_IsReadable = 1u << 30,
    kAudioUnitParameterFlag_IsWritable = 1u << 31,
};

//==================================================================================================
// Function types

struct AudioComponentDescription;

typedef OSStatus (*AURenderCallback)(void* inRefCon, AudioUnitRenderActionFlags* ioActionFlags,
                                     const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber,
                                     UInt32 inNumberFrames, AudioBufferList* ioData);

typedef void (*AudioUnitPropertyListenerProc)(void* inRefCon, AudioUnit inUnit,
                                              AudioUnitPropertyID inID, AudioUnitScope inScope,
                                              AudioUnitElement inElement);

/** Fast-dispatch functions: called with the unit's instance storage instead of its handle. */
typedef OSStatus (*AudioUnitGetParameterProc)(void* inComponentStorage, AudioUnitParameterID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement,
                                              AudioUnitParameterValue* outValue);
typedef OSStatus (*AudioUnitSetParameterProc)(void* inComponentStorage, AudioUnitParameterID inID,
                                              AudioUnitScope inScope, AudioUnitElement inElement,
                                              AudioUnitParameterValue inValue,
                                              UInt32 inBufferOffsetInFrames);
typedef OSStatus (*AudioUnitRenderProc)(void* inComponentStorage,
                                        AudioUnitRenderActionFlags* ioActionFlags,
                                        const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                                        UInt32 inNumberFrames, AudioBufferList* ioData);
typedef OSStatus (*MusicDeviceMIDIEventProc)(void* inComponentStorage, UInt32 inStatus,
                                             UInt32 inData1, UInt32 inData2,
                                             UInt32 inOffsetSampleFrame);

typedef OSStatus (*HostCallback_GetBeatAndTempo)(void* inHostUserData, Float64* outCurrentBeat,
                                                 Float64* outCurrentTempo);
typedef OSStatus (*HostCallback_GetMusicalTimeLocation)(void* inHostUserData,
                                                        UInt32* outDeltaSampleOffsetToNextBeat,
                                                        Float32* outTimeSigNumerator,
                                                        UInt32* outTimeSigDenominator,
                                                        Float64* outCurrentMeasureDownBeat);
typedef OSStatus (*HostCallback_GetTransportState)(void* inHostUserData, Boolean* outIsPlaying,
                                                   Boolean* outTransportStateChanged,
                                                   Float64* outCurrentSampleInTimeLine,
                                                   Boolean* outIsCycling,
                                                   Float64* outCycleStartBeat,
                                                   Float64* outCycleEndBeat);

/** What Lookup hands out. Callers cast it to the selector's exact type before calling (a float
    argument would otherwise be promoted to double). */
typedef OSStatus (*AudioComponentMethod)(void* self, ...);

typedef AudioComponent (*AudioComponentInstanceGetComponentProc)(AudioComponentInstance instance);
typedef OSStatus (*AudioComponentGetDescriptionProc)(AudioComponent component,
                                                     AudioComponentDescription* outDescription);

//==================================================================================================
// Records

struct AudioComponentDescription
{
    OSType componentType;
    OSType componentSubType;
    OSType componentManufacturer;
    UInt32 componentFlags;
    UInt32 componentFlagsMask;
};

struct AURenderCallbackStruct
{
    AURenderCallback inputProc;
    void* inputProcRefCon;
};

struct AudioUnitConnection
{
    AudioUnit sourceAudioUnit;
    UInt32 sourceOutputNumber;
    UInt32 destInputNumber;
};

/** A block of sample memory a host lends a bus. */
struct AudioUnitExternalBuffer
{
    Byte* buffer;
    UInt32 size;
};

struct AUChannelInfo
{
    SInt16 inChannels;
    SInt16 outChannels;
};

struct AUPreset
{
    SInt32 presetNumber;
    CFStringRef presetName;
};

struct HostCallbackInfo
{
    void* hostUserData;
    HostCallback_GetBeatAndTempo beatAndTempoProc;
    HostCallback_GetMusicalTimeLocation musicalTimeLocationProc;
    HostCallback_GetTransportState transportStateProc;
};

struct AudioUnitParameterEvent
{
    AudioUnitScope scope;
    AudioUnitElement element;
    AudioUnitParameterID parameter;
    AUParameterEventType eventType;
    union
    {
        struct
        {
            SInt32 startBufferOffset;
            UInt32 durationInFrames;
            AudioUnitParameterValue startValue;
            AudioUnitParameterValue endValue;
        } ramp;
        struct
        {
            UInt32 bufferOffset;
            AudioUnitParameterValue value;
        } immediate;
    } eventValues;
};

/** How a parameter presents itself to a host. */
struct AudioUnitParameterInfo
{
    /** The name as C text, for hosts that read no string object. */
    char name[52];
    /** The unit's own text, when the unit is not one of the published ones. */
    CFStringRef unitName;
    UInt32 clumpID;
    /** The name as a string object (flag kAudioUnitParameterFlag_HasCFNameString). */
    CFStringRef cfNameString;
    AudioUnitParameterUnit unit;
    AudioUnitParameterValue minValue;
    AudioUnitParameterValue maxValue;
    AudioUnitParameterValue defaultValue;
    AudioUnitParameterOptions flags;
};

struct AudioUnitParameterNameInfo
{
    UInt32 inID;
    SInt32 inDesiredLength;
    CFStringRef outName;
};

struct AudioUnitParameterHistoryInfo
{
    Float32 updatesPerSecond;
    Float32 historyDurationInSeconds;
};

//==================================================================================================
// The AudioComponent factory's plug-in block

/** The four words a host reads from the block the factory returns. */
struct AudioComponentPlugInInterface
{
    OSStatus (*Open)(void* self, AudioComponentInstance mInstance);
    OSStatus (*Close)(void* self);
    AudioComponentMethod (*Lookup)(SInt16 selector);
    void* reserved;
};

typedef AudioComponentPlugInInterface* (*AudioComponentFactoryFunction)(
    const AudioComponentDescription* inDesc);

/** One instance: the host's four words, how to build and tear down the unit in place, and the
    unit object itself from offset 64. */
struct AudioComponentPlugInInstance
{
    AudioComponentPlugInInterface mPlugInInterface;
    void* (*mConstruct)(void* memory, AudioComponentInstance instance);
    void (*mDestruct)(void* memory);
    void* mPad[2];
    alignas(16) Byte mInstanceStorage[16];
};

//==================================================================================================
// Events a unit sends to whoever listens to its parameters (the host's automation)

typedef UInt32 AudioUnitEventType;

enum : AudioUnitEventType
{
    kAudioUnitEvent_ParameterValueChange = 0,
    kAudioUnitEvent_BeginParameterChangeGesture = 1,
    kAudioUnitEvent_EndParameterChangeGesture = 2,
    kAudioUnitEvent_PropertyChange = 3,
};

struct AudioUnitParameter
{
    AudioUnit mAudioUnit;
    AudioUnitParameterID mParameterID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
};

struct AudioUnitProperty
{
    AudioUnit mAudioUnit;
    AudioUnitPropertyID mPropertyID;
    AudioUnitScope mScope;
    AudioUnitElement mElement;
};

struct AudioUnitEvent
{
    AudioUnitEventType mEventType;
    union
    {
        AudioUnitParameter mParameter;
        AudioUnitProperty mProperty;
    } mArgument;
};

struct OpaqueAUEventListener;
typedef OpaqueAUEventListener* AUEventListenerRef;

//==================================================================================================
// Platform calls made directly rather than looked up: on other units, and to parameter listeners

extern "C"
{
    /** Tells every listener of the event's parameter or property; a unit passes no sending
        listener and no sending object. */
    OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void* inSendingObject,
                                   const AudioUnitEvent* inEvent);
    OSStatus AudioUnitGetProperty(AudioUnit inUnit, AudioUnitPropertyID inID,
                                  AudioUnitScope inScope, AudioUnitElement inElement, void* outData,
                                  UInt32* ioDataSize);
    OSStatus AudioUnitRender(AudioUnit inUnit, AudioUnitRenderActionFlags* ioActionFlags,
                             const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                             UInt32 inNumberFrames, AudioBufferList* ioData);
}

//==================================================================================================

static_assert(sizeof(AudioComponentDescription) == 20);
static_assert(sizeof(AURenderCallbackStruct) == 16);
static_assert(sizeof(AudioUnitConnection) == 16);
static_assert(offsetof(AudioUnitConnection, destInputNumber) == 12);
static_assert(sizeof(AudioUnitExternalBuffer) == 16);
static_assert(sizeof(AUChannelInfo) == 4);
static_assert(sizeof(AUPreset) == 16 && offsetof(AUPreset, presetName) == 8);
static_assert(sizeof(HostCallbackInfo) == 32);
static_assert(sizeof(AudioUnitParameterEvent) == 32);
static_assert(offsetof(AudioUnitParameterEvent, eventValues) == 16);
static_assert(offsetof(AudioUnitParameterEvent, eventValues.ramp.endValue) == 28);
static_assert(offsetof(AudioUnitParameterEvent, eventValues.immediate.value) == 20);
static_assert(sizeof(AudioUnitParameterInfo) == 104);
static_assert(offsetof(AudioUnitParameterInfo, flags) == 96);
static_assert(sizeof(AudioUnitParameterNameInfo) == 16);
static_assert(sizeof(AudioUnitParameterHistoryInfo) == 8);
static_assert(sizeof(AudioUnitParameter) == 24);
static_assert(sizeof(AudioUnitEvent) == 32 && offsetof(AudioUnitEvent, mArgument) == 8);
static_assert(sizeof(AudioComponentPlugInInterface) == 32);
static_assert(offsetof(AudioComponentPlugInInterface, Close) == 8);
static_assert(offsetof(AudioComponentPlugInInterface, Lookup) == 16);
static_assert(offsetof(AudioComponentPlugInInterface, reserved) == 24);
static_assert(offsetof(AudioComponentPlugInInstance, mConstruct) == 32);
static_assert(offsetof(AudioComponentPlugInInstance, mDestruct) == 40);
static_assert(offsetof(AudioComponentPlugInInstance, mPad) == 48);
static_assert(offsetof(AudioComponentPlugInInstance, mInstanceStorage) == 64);
