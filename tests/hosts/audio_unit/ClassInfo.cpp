#include "tests/hosts/audio_unit/ClassInfo.h"

#include "tests/hosts/common/StateChunk.h"

#include <algorithm>
#include <cstdio>

namespace
{
/** A key as the dictionary's own kind of string. */
struct Key
{
    explicit Key(const char* text)
        : string(CFStringCreateWithCString(kCFAllocatorDefault, text, kCFStringEncodingUTF8))
    {
    }
    ~Key() { CFRelease(string); }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    CFStringRef string;
};
} // namespace

ClassInfo ClassInfo::save(HostedUnit& unit, OSStatus& status)
{
    CFPropertyListRef saved = nullptr;
    status = unit.get(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0, saved);
    if (status != noErr || saved == nullptr)
        return ClassInfo(nullptr);
    if (CFGetTypeID(saved) != CFDictionaryGetTypeID())
    {
        CFRelease(saved);
        status = kAudioUnitErr_InvalidPropertyValue;
        return ClassInfo(nullptr);
    }
    return ClassInfo(static_cast<CFDictionaryRef>(saved));
}

ClassInfo::~ClassInfo()
{
    if (dictionary != nullptr)
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
    const Key key("jucePluginState");
    CFDictionarySetValue(copy, key.string, data);
    CFRelease(data);
    return ClassInfo(copy);
}

std::optional<int32_t> ClassInfo::number(const char* key) const
{
    const Key name(key);
    CFTypeRef value = CFDictionaryGetValue(dictionary, name.string);
    SInt32 number = 0;
    if (value == nullptr || CFGetTypeID(value) != CFNumberGetTypeID() ||
        !CFNumberGetValue(static_cast<CFNumberRef>(value), kCFNumberSInt32Type, &number))
        return std::nullopt;
    return number;
}

std::optional<std::string> ClassInfo::text(const char* key) const
{
    const Key name(key);
    CFTypeRef value = CFDictionaryGetValue(dictionary, name.string);
    char text[256] = {};
    if (value == nullptr || CFGetTypeID(value) != CFStringGetTypeID() ||
        !CFStringGetCString(static_cast<CFStringRef>(value), text, sizeof text,
                            kCFStringEncodingUTF8))
        return std::nullopt;
    return std::string(text);
}

std::optional<std::vector<uint8_t>> ClassInfo::bytes(const char* key) const
{
    const Key name(key);
    CFTypeRef value = CFDictionaryGetValue(dictionary, name.string);
    if (value == nullptr || CFGetTypeID(value) != CFDataGetTypeID())
        return std::nullopt;
    const auto data = static_cast<CFDataRef>(value);
    const UInt8* start = CFDataGetBytePtr(data);
    return std::vector<uint8_t>(start, start + CFDataGetLength(data));
}

std::vector<std::string> ClassInfo::keys() const
{
    std::vector<const void*> names(size_t(CFDictionaryGetCount(dictionary)));
    CFDictionaryGetKeysAndValues(dictionary, names.data(), nullptr);
    std::vector<std::string> texts;
    for (const void* name : names)
    {
        char text[64] = {};
        CFStringGetCString(static_cast<CFStringRef>(name), text, sizeof text,
                           kCFStringEncodingUTF8);
        texts.emplace_back(text);
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}

std::string wordsInHex(const std::vector<uint8_t>& bytes)
{
    std::string hex;
    char digits[4];
    for (size_t i = 0; i < bytes.size(); ++i)
    {
        if (i > 0 && i % 4 == 0)
            hex += ' ';
        std::snprintf(digits, sizeof digits, "%02X", bytes[i]);
        hex += digits;
    }
    return hex;
}

std::string fourCharText(uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = char(code >> shift);
        text += (c >= 0x20 && c < 0x7f) ? c : '.';
    }
    return text;
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
