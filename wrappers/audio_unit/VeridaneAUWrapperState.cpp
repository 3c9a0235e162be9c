// The class-info dictionary with the processor's state beside the parameter records, and the
// processor's programs as factory presets.
#include "wrappers/audio_unit/VeridaneAUWrapper.h"

#include "hosts/audio_unit/AUPresetKeys.h"
#include "hosts/audio_unit/CFAdditions.h"

#include <limits>

namespace veridane::au
{
namespace
{
/** The key under which the processor's state block travels in the class info. */
CFStringRef pluginStateKey()
{
    return CFSTR("jucePluginState");
}

} // namespace

OSStatus VeridaneAUWrapper::SaveState(CFPropertyListRef* outData)
{
    updateParameterSlots();
    CFPropertyListRef saved = nullptr;
    if (const OSStatus result = AUMIDIEffectBase::SaveState(&saved); result != noErr)
        return result;
    // The base answers a mutable dictionary, open to further keys. It is handed out only once the
    // processor's state is in it.
    CFOwned<CFMutableDictionaryRef> dictionary(
        static_cast<CFMutableDictionaryRef>(const_cast<void*>(saved)));
    try
    {
        juce::MemoryBlock state;
        processor->getStateInformation(state);
        if (state.getSize() != 0 && state.getSize() <= size_t(std::numeric_limits<CFIndex>::max()))
        {
            const auto data = OwnCreated(CFDataCreate(kCFAllocatorDefault,
                                                      static_cast<const UInt8*>(state.getData()),
                                                      CFIndex(state.getSize())));
            AddNewKey(dictionary.get(), pluginStateKey(), data.get());
        }
    }
    catch (const std::bad_alloc&)
    {
        return memFullErr;
    }
    *outData = dictionary.release();
    return noErr;
}

OSStatus VeridaneAUWrapper::RestoreState(CFPropertyListRef inData)
{
    if (inData == nullptr || CFGetTypeID(inData) != CFDictionaryGetTypeID())
        return kAudioUnitErr_InvalidPropertyValue;
    const auto dictionary = static_cast<CFDictionaryRef>(inData);

    // The processor's state holds the parameters; the records would only repeat them.
    const auto withoutRecords =
        OwnCreated(CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, dictionary));
    CFDictionaryRemoveValue(withoutRecords.get(), AUPresetKeys::Get().data);
    if (const OSStatus result = AUMIDIEffectBase::RestoreState(withoutRecords.get());
        result != noErr)
        return result;

    const CFTypeRef state = CFDictionaryGetValue(dictionary, pluginStateKey());
    if (state != nullptr && CFGetTypeID(state) == CFDataGetTypeID())
    {
        const auto data = static_cast<CFDataRef>(state);
        const CFIndex size = CFDataGetLength(data);
        if (size > 0 && size <= std::numeric_limits<int>::max())
            processor->setStateInformation(CFDataGetBytePtr(data), int(size));
    }
    updateParameterSlots();
    return noErr;
}

OSStatus VeridaneAUWrapper::GetPresets(CFArrayRef* outData)
{
    if (outData == nullptr)
        return noErr;
    // Raw pointers to the records this instance keeps for its whole life.
    CFMutableArrayRef array =
        CFArrayCreateMutable(kCFAllocatorDefault, CFIndex(presets.size()), nullptr);
    if (array == nullptr)
        throw std::bad_alloc();
    for (const auto& preset : presets)
        CFArrayAppendValue(array, &preset);
    *outData = array;
    return noErr;
}

OSStatus VeridaneAUWrapper::NewFactoryPresetSet(const AUPreset& inNewFactoryPreset)
{
    const SInt32 number = inNewFactoryPreset.presetNumber;
    if (number < 0 || size_t(number) >= presets.size())
        return kAudioUnitErr_InvalidPropertyValue;
    processor->setCurrentProgram(number);
    SetAFactoryPresetAsCurrent(presets[size_t(number)]);
    return noErr;
}

} // namespace veridane::au
