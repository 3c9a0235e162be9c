// The class-info dictionary with the processor's state beside the parameter records, and the
// processor's programs as factory presets.
#include "wrappers/audio_unit/VeridaneAUWrapper.h"

#include "hosts/audio_unit/AUPresetKeys.h"

#include <limits>
#include <memory>
#include <type_traits>

namespace veridane::au
{
namespace
{
/** The key under which the processor's state block travels in the class info. */
CFStringRef pluginStateKey()
{
    return CFSTR("jucePluginState");
}

struct Releaser
{
    void operator()(const void* object) const { CFRelease(object); }
};
template <typename Ref> using Owned = std::unique_ptr<std::remove_pointer_t<Ref>, Releaser>;
} // namespace

OSStatus VeridaneAUWrapper::SaveState(CFPropertyListRef* outData)
{
    updateParameterSlots();
    if (const OSStatus result = AUMIDIEffectBase::SaveState(outData); result != noErr)
        return result;

    juce::MemoryBlock state;
    processor->getStateInformation(state);
    if (state.getSize() == 0 || state.getSize() > size_t(std::numeric_limits<CFIndex>::max()))
        return noErr;
    const Owned<CFDataRef> data(CFDataCreate(
        kCFAllocatorDefault, static_cast<const UInt8*>(state.getData()), CFIndex(state.getSize())));
    if (data == nullptr)
        throw std::bad_alloc();
    // The base answers a mutable dictionary, open to further keys.
    auto dictionary = static_cast<CFMutableDictionaryRef>(const_cast<void*>(*outData));
    CFDictionarySetValue(dictionary, pluginStateKey(), data.get());
    return noErr;
}

OSStatus VeridaneAUWrapper::RestoreState(CFPropertyListRef inData)
{
    if (inData == nullptr || CFGetTypeID(inData) != CFDictionaryGetTypeID())
        return kAudioUnitErr_InvalidPropertyValue;
    const auto dictionary = static_cast<CFDictionaryRef>(inData);

    // The processor's state holds the parameters; the records would only repeat them.
    const Owned<CFMutableDictionaryRef> withoutRecords(
        CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, dictionary));
    if (withoutRecords == nullptr)
        throw std::bad_alloc();
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
