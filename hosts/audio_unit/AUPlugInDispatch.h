// The AudioComponent road into a unit class: the factory that allocates a plug-in block, the
// block's Open and Close, and Lookup with one method per selector. The unit lives inside the
// block from offset 64; every method receives the block and reaches the unit there. Each method
// runs inside the entry catch and takes the unit's mutex where the selector table says so.
#pragma once

#include "hosts/audio_unit/AUEntryCatch.h"
#include "hosts/audio_unit/AUMIDIEffectBase.h"
#include "hosts/audio_unit/AUSelectorTable.h"
#include "hosts/audio_unit/CAMutex.h"

#include <cstddef>
#include <cstdlib>
#include <new>
#include <type_traits>

/** Builds and tears down a unit in the memory of its block. */
template <class Unit> struct APFactory
{
    static void* Construct(void* memory, AudioComponentInstance instance)
    {
        if (memory == nullptr)
            return nullptr;
        new (memory) Unit(instance);
        return memory;
    }

    static void Destruct(void* memory) { std::launder(static_cast<Unit*>(memory))->~Unit(); }
};

/** The unit of a block. */
template <class Unit> Unit& AUPlugInUnit(void* self)
{
    auto* block = static_cast<AudioComponentPlugInInstance*>(self);
    return *std::launder(reinterpret_cast<Unit*>(block->mInstanceStorage));
}

/** One method per selector, handed out by Lookup. */
template <class Unit> class AUMIDILookup
{
public:
    static AudioComponentMethod Lookup(SInt16 selector)
    {
        switch (selector)
        {
        case kAudioUnitInitializeSelect:
            return Method(Initialize);
        case kAudioUnitUninitializeSelect:
            return Method(Uninitialize);
        case kAudioUnitGetPropertyInfoSelect:
            return Method(GetPropertyInfo);
        case kAudioUnitGetPropertySelect:
            return Method(GetProperty);
        case kAudioUnitSetPropertySelect:
            return Method(SetProperty);
        case kAudioUnitGetParameterSelect:
            return Method(GetParameter);
        case kAudioUnitSetParameterSelect:
            return Method(SetParameter);
        case kAudioUnitResetSelect:
            return Method(Reset);
        case kAudioUnitAddPropertyListenerSelect:
            return Method(AddPropertyListener);
        case kAudioUnitRemovePropertyListenerSelect:
            return Method(RemovePropertyListener);
        case kAudioUnitRenderSelect:
            return Method(Render);
        case kAudioUnitAddRenderNotifySelect:
            return Method(AddRenderNotify);
        case kAudioUnitRemoveRenderNotifySelect:
            return Method(RemoveRenderNotify);
        case kAudioUnitScheduleParametersSelect:
            return Method(ScheduleParameters);
        case kAudioUnitRemovePropertyListenerWithUserDataSelect:
            return Method(RemovePropertyListenerWithUserData);
        case kMusicDeviceMIDIEventSelect:
            return Method(MIDIEvent);
        case kMusicDeviceSysExSelect:
            return Method(SysEx);
        default:
            return nullptr;
        }
    }

private:
    template <typename Function> static AudioComponentMethod Method(Function function)
    {
        return reinterpret_cast<AudioComponentMethod>(function);
    }

    /** Runs a method's body on the unit of the block, inside the entry catch and, when the
        selector takes it, under the unit's mutex. */
    template <SInt16 selector, typename Body> static OSStatus Run(void* self, Body&& body)
    {
        if (self == nullptr)
            return kAudio_ParamError;
        return AUEntryCatch(
            [&]() -> OSStatus
            {
                AUBase& unit = AUPlugInUnit<Unit>(self);
                const CAMutexLocker lock(PlugInLocks(selector) ? unit.GetMutex() : nullptr);
                return body(unit);
            });
    }

    static OSStatus Initialize(void* self)
    {
        return Run<kAudioUnitInitializeSelect>(self,
                                               [](AUBase& unit) { return unit.DoInitialize(); });
    }

    static OSStatus Uninitialize(void* self)
    {
        return Run<kAudioUnitUninitializeSelect>(self,
                                                 [](AUBase& unit)
                                                 {
                                                     unit.DoCleanup();
                                                     return OSStatus(noErr);
                                                 });
    }

    static OSStatus GetPropertyInfo(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                    AudioUnitElement inElement, UInt32* outDataSize,
                                    Boolean* outWritable)
    {
        return Run<kAudioUnitGetPropertyInfoSelect>(self,
                                                    [&](AUBase& unit) {
                                                        return unit.GetPropertyInfoForHost(
                                                            inID, inScope, inElement, outDataSize,
                                                            outWritable);
                                                    });
    }

    static OSStatus GetProperty(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                AudioUnitElement inElement, void* outData, UInt32* ioDataSize)
    {
        return Run<kAudioUnitGetPropertySelect>(
            self, [&](AUBase& unit)
            { return unit.GetPropertyForHost(inID, inScope, inElement, outData, ioDataSize); });
    }

    static OSStatus SetProperty(void* self, AudioUnitPropertyID inID, AudioUnitScope inScope,
                                AudioUnitElement inElement, const void* inData, UInt32 inDataSize)
    {
        return Run<kAudioUnitSetPropertySelect>(
            self, [&](AUBase& unit)
            { return unit.SetPropertyForHost(inID, inScope, inElement, inData, inDataSize); });
    }

    static OSStatus GetParameter(void* self, AudioUnitParameterID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, AudioUnitParameterValue* outValue)
    {
        return Run<kAudioUnitGetParameterSelect>(
            self,
            [&](AUBase& unit)
            {
                return outValue == nullptr ? OSStatus(kAudio_ParamError)
                                           : unit.GetParameter(inID, inScope, inElement, *outValue);
            });
    }

    static OSStatus SetParameter(void* self, AudioUnitParameterID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, AudioUnitParameterValue inValue,
                                 UInt32 inBufferOffsetInFrames)
    {
        return Run<kAudioUnitSetParameterSelect>(
            self,
            [&](AUBase& unit) {
                return unit.SetParameter(inID, inScope, inElement, inValue, inBufferOffsetInFrames);
            });
    }

    static OSStatus Reset(void* self, AudioUnitScope inScope, AudioUnitElement inElement)
    {
        return Run<kAudioUnitResetSelect>(self, [&](AUBase& unit)
                                          { return unit.Reset(inScope, inElement); });
    }

    static OSStatus AddPropertyListener(void* self, AudioUnitPropertyID inID,
                                        AudioUnitPropertyListenerProc inProc, void* inProcRefCon)
    {
        return Run<kAudioUnitAddPropertyListenerSelect>(
            self,
            [&](AUBase& unit) { return unit.AddPropertyListener(inID, inProc, inProcRefCon); });
    }

    static OSStatus RemovePropertyListener(void* self, AudioUnitPropertyID inID,
                                           AudioUnitPropertyListenerProc inProc)
    {
        return Run<kAudioUnitRemovePropertyListenerSelect>(
            self, [&](AUBase& unit)
            { return unit.RemovePropertyListener(inID, inProc, nullptr, false); });
    }

    static OSStatus RemovePropertyListenerWithUserData(void* self, AudioUnitPropertyID inID,
                                                       AudioUnitPropertyListenerProc inProc,
                                                       void* inProcRefCon)
    {
        return Run<kAudioUnitRemovePropertyListenerWithUserDataSelect>(
            self, [&](AUBase& unit)
            { return unit.RemovePropertyListener(inID, inProc, inProcRefCon, true); });
    }

    static OSStatus Render(void* self, AudioUnitRenderActionFlags* ioActionFlags,
                           const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                           UInt32 inNumberFrames, AudioBufferList* ioData)
    {
        return Run<kAudioUnitRenderSelect>(self,
                                           [&](AUBase& unit)
                                           {
                                               return unit.RenderForHost(ioActionFlags, inTimeStamp,
                                                                         inOutputBusNumber,
                                                                         inNumberFrames, ioData);
                                           });
    }

    static OSStatus AddRenderNotify(void* self, AURenderCallback inProc, void* inProcRefCon)
    {
        return Run<kAudioUnitAddRenderNotifySelect>(
            self, [&](AUBase& unit) { return unit.SetRenderNotification(inProc, inProcRefCon); });
    }

    static OSStatus RemoveRenderNotify(void* self, AURenderCallback inProc, void* inProcRefCon)
    {
        return Run<kAudioUnitRemoveRenderNotifySelect>(
            self,
            [&](AUBase& unit) { return unit.RemoveRenderNotification(inProc, inProcRefCon); });
    }

    static OSStatus ScheduleParameters(void* self, const AudioUnitParameterEvent* inParameterEvent,
                                       UInt32 inNumParamEvents)
    {
        return Run<kAudioUnitScheduleParametersSelect>(
            self, [&](AUBase& unit)
            { return unit.ScheduleParameter(inParameterEvent, inNumParamEvents); });
    }

    static OSStatus MIDIEvent(void* self, UInt32 inStatus, UInt32 inData1, UInt32 inData2,
                              UInt32 inOffsetSampleFrame)
    {
        return Run<kMusicDeviceMIDIEventSelect>(
            self, [&](AUBase& unit)
            { return unit.MIDIEvent(inStatus, inData1, inData2, inOffsetSampleFrame); });
    }

    static OSStatus SysEx(void* self, const UInt8* inData, UInt32 inLength)
    {
        return Run<kMusicDeviceSysExSelect>(self, [&](AUBase& unit)
                                            { return unit.SysEx(inData, inLength); });
    }
};

/** The factory and the block's Open and Close for a unit class. */
template <class Unit> class AUPlugInFactory
{
    static_assert(std::is_base_of_v<AUMIDIEffectBase, Unit>);
    static_assert(alignof(Unit) <= alignof(std::max_align_t), "malloc must align the unit");

public:
    /** A block with the unit not yet built, or null when memory runs out. */
    static AudioComponentPlugInInterface* Factory(const AudioComponentDescription*)
    {
        constexpr size_t kBytes =
            offsetof(AudioComponentPlugInInstance, mInstanceStorage) + sizeof(Unit);
        auto* block = static_cast<AudioComponentPlugInInstance*>(std::malloc(kBytes));
        if (block == nullptr)
            return nullptr;
        block->mPlugInInterface = {Open, Close, AUMIDILookup<Unit>::Lookup, nullptr};
        block->mConstruct = APFactory<Unit>::Construct;
        block->mDestruct = APFactory<Unit>::Destruct;
        block->mPad[0] = block->mPad[1] = nullptr;
        return &block->mPlugInInterface;
    }

private:
    /** Builds the unit under the construction lock. A failure leaves nothing: a unit that was
        built is destroyed again, and the block is freed. */
    static OSStatus Open(void* self, AudioComponentInstance inInstance)
    {
        if (self == nullptr)
            return kAudio_ParamError;
        auto* block = static_cast<AudioComponentPlugInInstance*>(self);
        const OSStatus result = AUEntryCatch(
            [&]
            {
                const ComponentInitLocker lock;
                ComponentBase::sNewInstanceType = ComponentBase::kAudioComponentInstance;
                void* object = block->mConstruct(block->mInstanceStorage, inInstance);
                if (object == nullptr)
                    throw std::bad_alloc();
                try
                {
                    static_cast<Unit*>(object)->PostConstructor();
                }
                catch (...)
                {
                    block->mDestruct(object);
                    throw;
                }
                return OSStatus(noErr);
            });
        if (result != noErr)
            std::free(block);
        return result;
    }

    /** Always destroys the unit and frees the block; a failing clean-up is answered. */
    static OSStatus Close(void* self)
    {
        if (self == nullptr)
            return kAudio_ParamError;
        auto* block = static_cast<AudioComponentPlugInInstance*>(self);
        const OSStatus result = AUEntryCatch(
            [&]
            {
                AUPlugInUnit<Unit>(self).PreDestructor();
                return OSStatus(noErr);
            });
        block->mDestruct(block->mInstanceStorage);
        std::free(block);
        return result;
    }
};
