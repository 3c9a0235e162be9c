#include "tests/hosts/audio_unit/ClassInfo.h"

#include "tests/hosts/common/StateChunk.h"

#include <cstdio>

ClassInfo ClassInfo::save(HostedUnit& unit, OSStatus& status)
{
    CFPropertyListRef saved = nullptr;
    status = unit.get(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, saved);
    if (status == noErr && CFGetTypeID(saved) != CFDictionaryGetTypeID())
        status = kAudioUnitErr_InvalidPropertyValue;
    if (status != noErr)
    {
        CFRelease(saved);
        return ClassInfo(nullptr);
    }
    return ClassInfo(static_cast<CFDictionaryRef>(saved));
}

ClassInfo::~ClassInfo()
{
    CFRelease(dictionary);
}

ClassInfo::ClassInfo(ClassInfo&& other) noexcept : dictionary(other.dictionary)
{
    other.dictionary = nullptr;
}

OSStatus ClassInfo::restoreOn(HostedUnit& unit) const
{
    const CFPropertyListRef state = dictionary;
    return unit.set(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, state);
}

ClassInfo ClassInfo::withPluginState(const std::vector<uint8_t>& block) const
{
    CFMutableDictionaryRef copy = CFDictionaryCreateMutableCopy(kCFAllocatorDefault, 0, dictionary);
    CFDataRef data = CFDataCreate(kCFAllocatorDefault, block.data(), CFIndex(block.size()));
    CFDictionarySetValue(copy, CFSTR("jucePluginState"), data);
    CFRelease(data);
    return ClassInfo(copy);
}

CFTypeRef ClassInfo::value(const char* key, CFTypeID kind) const
{
    if (dictionary == nullptr)
        return nullptr;
    CFStringRef name = CFStringCreateWithCString(kCFAllocatorDefault, key, kCFStringEncodingUTF8);
    CFTypeRef found = CFDictionaryGetValue(dictionary, name);
    CFRelease(name);
    return found != nullptr && CFGetTypeID(found) == kind ? found : nullptr;
}

std::optional<int32_t> ClassInfo::number(const char* key) const
{
    SInt32 number = 0;
    const auto found = static_cast<CFNumberRef>(value(key, CFNumberGetTypeID()));
    if (found == nullptr || !CFNumberGetValue(found, kCFNumberSInt32Type, &number))
        return std::nullopt;
    return number;
}

std::vector<uint8_t> ClassInfo::bytes(const char* key) const
{
    const auto data = static_cast<CFDataRef>(value(key, CFDataGetTypeID()));
    if (data == nullptr)
        return {};
    const UInt8* start = CFDataGetBytePtr(data);
    return std::vector<uint8_t>(start, start + CFDataGetLength(data));
}

std::string wordsInHex(const std::vector<uint8_t>& bytes)
{
    std::string hex;
    char digits[4];
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        hex += (i > 0 && i % 4 == 0 ? " " : "") + std::string(digits);
    }
    return hex;
}

OSStatus restoreSettings(HostedUnit& unit, const std::optional<std::string>& gain,
                         const std::optional<std::string>& direction)
{
    OSStatus status = noErr;
    const ClassInfo saved = ClassInfo::save(unit, status);
    if (status != noErr)
        return status;
    return saved.withPluginState(makeStateBlock(gain, direction)).restoreOn(unit);
}
