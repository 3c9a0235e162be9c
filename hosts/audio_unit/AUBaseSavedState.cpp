// The class-info dictionary a host saves and restores, and the present preset.
#include "hosts/audio_unit/AUBase.h"

#include "hosts/audio_unit/AUPresetKeys.h"
#include "hosts/audio_unit/AUSavedParameters.h"
#include "hosts/audio_unit/CFAdditions.h"

#include <cstdio>
#include <new>

namespace
{
void AddNumber(CFMutableDictionaryRef dictionary, CFStringRef key, CFNumberType type,
               const void* value)
{
    AddNewKey(dictionary, key, OwnCreated(CFNumberCreate(kCFAllocatorDefault, type, value)).get());
}

CFMutableDictionaryRef CreateDictionary()
{
    return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

/** The value under the key when it is of the kind, else null. */
CFTypeRef ValueOfKind(CFDictionaryRef dictionary, CFStringRef key, CFTypeID kind)
{
    CFTypeRef value = CFDictionaryGetValue(dictionary, key);
    return value != nullptr && CFGetTypeID(value) == kind ? value : nullptr;
}

/** Whether the key holds a number that reads as the expected signed 32-bit value. */
bool HoldsNumber(CFDictionaryRef dictionary, CFStringRef key, SInt32 expected)
{
    auto number = static_cast<CFNumberRef>(ValueOfKind(dictionary, key, CFNumberGetTypeID()));
    SInt32 value = 0;
    if (number == nullptr)
        return false;
    CFNumberGetValue(number, kCFNumberSInt32Type, &value);
    return value == expected;
}

constexpr AudioUnitScope kNamedScopes[] = {kAudioUnitScope_Global, kAudioUnitScope_Input,
                                           kAudioUnitScope_Output, kAudioUnitScope_Group};
} // namespace

OSStatus AUBase::SaveState(CFPropertyListRef* outData)
{
    const AUPresetKeys& keys = AUPresetKeys::Get();
    const AudioComponentDescription description = GetComponentDescription();
    // Every addition is checked: a dictionary that lost one would restore as another state. What
    // was built is released on the way out of a save that ran out of memory.
    try
    {
        auto dictionary = OwnCreated(CreateDictionary());
        const SInt32 version = 0;
        const auto type = SInt32(description.componentType);
        const auto subtype = SInt32(description.componentSubType);
        const auto manufacturer = SInt32(description.componentManufacturer);
        AddNumber(dictionary.get(), keys.version, kCFNumberSInt32Type, &version);
        AddNumber(dictionary.get(), keys.type, kCFNumberSInt32Type, &type);
        AddNumber(dictionary.get(), keys.subtype, kCFNumberSInt32Type, &subtype);
        AddNumber(dictionary.get(), keys.manufacturer, kCFNumberSInt32Type, &manufacturer);

        const auto data = OwnCreated(CFDataCreateMutable(kCFAllocatorDefault, 0));
        for (const AudioUnitScope scope :
             {kAudioUnitScope_Global, kAudioUnitScope_Input, kAudioUnitScope_Output})
            GetScope(scope).SaveState(data.get());
        SaveExtendedScopes(data.get());
        AddNewKey(dictionary.get(), keys.data, data.get());

        if (const CFOwned<CFStringRef> name(mCurrentPreset.CopyRetained().presetName); name)
            AddNewKey(dictionary.get(), keys.name, name.get());

        SInt32 quality = 0;
        if (GetProperty(kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0, &quality) ==
            noErr)
            AddNumber(dictionary.get(), keys.renderQuality, kCFNumberSInt32Type, &quality);
        Float32 load = 0.0f;
        if (GetProperty(kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0, &load) == noErr)
            AddNumber(dictionary.get(), keys.cpuLoad, kCFNumberFloat32Type, &load);

        for (const AudioUnitScope scope : kNamedScopes)
        {
            if (!GetScope(scope).HasElementWithName())
                continue;
            const auto names = OwnCreated(CreateDictionary());
            for (const AudioUnitScope named : kNamedScopes)
                GetScope(named).AddElementNamesToDict(names.get());
            AddNewKey(dictionary.get(), keys.elementName, names.get());
            break;
        }

        *outData = dictionary.release();
        return noErr;
    }
    catch (const std::bad_alloc&)
    {
        return memFullErr;
    }
}

OSStatus AUBase::RestoreState(CFPropertyListRef inData)
{
    if (inData == nullptr || CFGetTypeID(inData) != CFDictionaryGetTypeID())
        return kAudioUnitErr_InvalidPropertyValue;
    const auto dictionary = static_cast<CFDictionaryRef>(inData);
    const AUPresetKeys& keys = AUPresetKeys::Get();
    const AudioComponentDescription description = GetComponentDescription();

    if (CFDictionaryContainsKey(dictionary, keys.part) ||
        !HoldsNumber(dictionary, keys.version, 0) ||
        !HoldsNumber(dictionary, keys.subtype, SInt32(description.componentSubType)) ||
        !HoldsNumber(dictionary, keys.manufacturer, SInt32(description.componentManufacturer)))
        return kAudioUnitErr_InvalidPropertyValue;

    if (auto data = static_cast<CFDataRef>(ValueOfKind(dictionary, keys.data, CFDataGetTypeID())))
    {
        // Checked whole before any parameter changes.
        RestoreParameterRecords(*this, CFDataGetBytePtr(data), size_t(CFDataGetLength(data)));
    }

    auto name = static_cast<CFStringRef>(ValueOfKind(dictionary, keys.name, CFStringGetTypeID()));
    if (name == nullptr)
        name = keys.untitled;
    mCurrentPreset.Set({-1, name});
    PropertyChanged(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0);

    if (auto number = static_cast<CFNumberRef>(
            ValueOfKind(dictionary, keys.renderQuality, CFNumberGetTypeID())))
    {
        SInt32 quality = 0;
        CFNumberGetValue(number, kCFNumberSInt32Type, &quality);
        if (SetProperty(kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0, &quality,
                        sizeof quality) == noErr)
            PropertyChanged(kAudioUnitProperty_RenderQuality, kAudioUnitScope_Global, 0);
    }
    if (auto number =
            static_cast<CFNumberRef>(ValueOfKind(dictionary, keys.cpuLoad, CFNumberGetTypeID())))
    {
        Float32 load = 0.0f;
        CFNumberGetValue(number, kCFNumberFloat32Type, &load);
        if (SetProperty(kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0, &load,
                        sizeof load) == noErr)
            PropertyChanged(kAudioUnitProperty_CPULoad, kAudioUnitScope_Global, 0);
    }

    if (auto names = static_cast<CFDictionaryRef>(
            ValueOfKind(dictionary, keys.elementName, CFDictionaryGetTypeID())))
    {
        for (const AudioUnitScope scope : kNamedScopes)
        {
            char text[16];
            std::snprintf(text, sizeof text, "%d", int(scope));
            const CFOwned<CFStringRef> key(
                CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingASCII));
            auto scopeNames = static_cast<CFDictionaryRef>(
                ValueOfKind(names, key.get(), CFDictionaryGetTypeID()));
            if (scopeNames != nullptr && GetScope(scope).RestoreElementNames(scopeNames))
                PropertyChanged(kAudioUnitProperty_ElementCount, scope, 0);
        }
    }
    return noErr;
}

//==================================================================================================
// Presets

OSStatus AUBase::GetPresets(CFArrayRef*)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::NewFactoryPresetSet(const AUPreset&)
{
    return kAudioUnitErr_InvalidProperty;
}

OSStatus AUBase::NewCustomPresetSet(const AUPreset& inNewCustomPreset)
{
    mCurrentPreset.Set(inNewCustomPreset);
    return noErr;
}

bool AUBase::SetAFactoryPresetAsCurrent(const AUPreset& inPreset)
{
    if (inPreset.presetNumber < 0 || inPreset.presetName == nullptr)
        return false;
    mCurrentPreset.Set(inPreset);
    return true;
}
