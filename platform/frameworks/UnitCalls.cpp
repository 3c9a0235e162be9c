// Calls made on an open instance reach its unit the way the unit was opened: through the
// method its block's Lookup gives for the selector, or through its Component Manager entry
// with a parameter block that carries the arguments in order.
#include "platform/frameworks/ParameterBlock.h"
#include "platform/frameworks/Records.h"

namespace
{
AudioComponentMethod MethodFor(ComponentInstanceRecord& instance, SInt16 selector)
{
    return instance.plugIn->Lookup != nullptr ? instance.plugIn->Lookup(selector) : nullptr;
}
} // namespace

using namespace veridane::frameworks;

OSStatus AudioUnitGetProperty(AudioUnit inUnit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, void* outData, UInt32* ioDataSize)
{
    auto* instance = FindInstance(inUnit);
    if (instance == nullptr)
        return badComponentInstance;
    if (instance->plugIn != nullptr)
    {
        using Method = OSStatus (*)(void*, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement,
                                    void*, UInt32*);
        auto method = MethodFor(*instance, kAudioUnitGetPropertySelect);
        if (method == nullptr)
            return badComponentSelector;
        return reinterpret_cast<Method>(method)(instance->plugIn, inID, inScope, inElement, outData,
                                                ioDataSize);
    }
    ParameterBlock block(kAudioUnitGetPropertySelect, instance);
    block.Append(inID);
    block.Append(inScope);
    block.Append(inElement);
    block.Append(outData);
    block.Append(ioDataSize);
    return instance->component->entry(&block.Header(), instance->storage);
}

OSStatus AudioUnitRender(AudioUnit inUnit, AudioUnitRenderActionFlags* ioActionFlags,
                         const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                         UInt32 inNumberFrames, AudioBufferList* ioData)
{
    auto* instance = FindInstance(inUnit);
    if (instance == nullptr)
        return badComponentInstance;
    if (instance->plugIn != nullptr)
    {
        using Method = OSStatus (*)(void*, AudioUnitRenderActionFlags*, const AudioTimeStamp*,
                                    UInt32, UInt32, AudioBufferList*);
        auto method = MethodFor(*instance, kAudioUnitRenderSelect);
        if (method == nullptr)
            return badComponentSelector;
        return reinterpret_cast<Method>(method)(instance->plugIn, ioActionFlags, inTimeStamp,
                                                inOutputBusNumber, inNumberFrames, ioData);
    }
    ParameterBlock block(kAudioUnitRenderSelect, instance);
    block.Append(ioActionFlags);
    block.Append(inTimeStamp);
    block.Append(inOutputBusNumber);
    block.Append(inNumberFrames);
    block.Append(ioData);
    return instance->component->entry(&block.Header(), instance->storage);
}
