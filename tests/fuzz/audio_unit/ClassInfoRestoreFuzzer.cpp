// Builds a class-info dictionary from the fuzz bytes through the CoreFoundation stand-in (known
// keys and others, values of every kind, nested dictionaries) and restores it through the
// class-info property. Whatever the dictionary, the restore answers a status and never throws
// past the entry catch; a refusal changes neither parameters nor preset; what a restore leaves
// saves into a dictionary that restores cleanly; every object made is given back.
//
// Byte code: the top level is a dictionary of (next byte % 12) entries; an entry is a key and a
// value. A key is one of the eleven keys a saved state may hold, an element number "0".."4", or
// a short text. A value is, by (next byte % 8): a signed 32-bit number (4 bytes), a 32-bit float
// number (4 bytes), data (length byte, bytes), text (length byte % 16, bytes), a dictionary (up
// to 3 deep), an array, or the unit's own subtype or manufacturer number.
#include "hosts/audio_unit/AUEntryCatch.h"

#include "platform/frameworks/Frameworks.h"
#include "tests/fuzz/audio_unit/FuzzUnit.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

using namespace autest;

namespace
{
/** 'aufx', 'tsub', 'Tman'. */
constexpr ComponentDescription kDescription{0x61756678, 0x74737562, 0x546D616E, 0, 0};

const char* const kKeys[] = {"version",      "type", "subtype",        "manufacturer",
                             "data",         "name", "render-quality", "cpu-load",
                             "element-name", "part", "jucePluginState"};

class ByteReader
{
public:
    ByteReader(const uint8_t* data, size_t size) : mData(data), mSize(size) {}
    UInt8 Next() { return mPosition < mSize ? mData[mPosition++] : 0; }
    UInt32 Word()
    {
        UInt32 word = 0;
        for (int i = 0; i < 4; ++i)
            word = (word << 8) | Next();
        return word;
    }
    std::string Bytes(size_t count)
    {
        std::string bytes;
        while (count-- > 0 && mPosition < mSize)
            bytes.push_back(char(mData[mPosition++]));
        return bytes;
    }

private:
    const uint8_t* mData;
    size_t mSize;
    size_t mPosition = 0;
};

CFTypeRef MakeText(const std::string& text)
{
    // Printable ASCII as it is, any other byte folded into it, so every text makes a string.
    std::string ascii;
    for (const char c : text)
    {
        const auto byte = static_cast<unsigned char>(c);
        ascii.push_back(byte >= 32 && byte < 127 ? c : char(byte % 95 + 32));
    }
    return CFStringCreateWithCString(kCFAllocatorDefault, ascii.c_str(), kCFStringEncodingASCII);
}

CFTypeRef MakeKey(ByteReader& in)
{
    const UInt8 choice = in.Next() % 13;
    if (choice < 11)
        return MakeText(kKeys[choice]);
    if (choice == 11)
        return MakeText(std::string(1, char('0' + in.Next() % 5)));
    return MakeText(in.Bytes(in.Next() % 8));
}

CFTypeRef MakeValue(ByteReader& in, int depth);

CFTypeRef MakeDictionary(ByteReader& in, int depth, UInt8 entries)
{
    CFMutableDictionaryRef dictionary = CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks);
    for (UInt8 i = 0; i < entries; ++i)
    {
        CFTypeRef key = MakeKey(in);
        CFTypeRef value = MakeValue(in, depth + 1);
        CFDictionarySetValue(dictionary, key, value);
        if (key != nullptr)
            CFRelease(key);
        if (value != nullptr)
            CFRelease(value);
    }
    return dictionary;
}

CFTypeRef MakeValue(ByteReader& in, int depth)
{
    switch (in.Next() % 7)
    {
    case 0:
    {
        const auto value = SInt32(in.Word());
        return CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &value);
    }
    case 1:
    {
        const UInt32 bits = in.Word();
        Float32 value;
        std::memcpy(&value, &bits, sizeof value);
        return CFNumberCreate(kCFAllocatorDefault, kCFNumberFloat32Type, &value);
    }
    case 2:
    {
        const std::string bytes = in.Bytes(in.Next());
        return CFDataCreate(kCFAllocatorDefault, reinterpret_cast<const UInt8*>(bytes.data()),
                            CFIndex(bytes.size()));
    }
    case 3:
        return MakeText(in.Bytes(in.Next() % 16));
    case 4:
        if (depth < 3)
            return MakeDictionary(in, depth, in.Next() % 8);
        return MakeText("deep");
    case 5:
    {
        const auto subtype = SInt32(kDescription.componentSubType);
        return CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &subtype);
    }
    default:
    {
        const auto manufacturer = SInt32(kDescription.componentManufacturer);
        return CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &manufacturer);
    }
    }
}

AudioComponentInstance Instance()
{
    static const Component component = VeridaneRegisterComponent(
        &kDescription, [](ComponentParameters*, void*) { return OSStatus(badComponentSelector); });
    return reinterpret_cast<AudioComponentInstance>(component);
}

OSStatus Restore(FuzzUnit& unit, CFPropertyListRef state)
{
    return AUEntryCatch(
        [&]
        {
            return unit.DispatchSetProperty(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                                            &state, sizeof state);
        });
}

std::string PresetOf(FuzzUnit& unit)
{
    return TextOf(unit.CurrentPreset().presetName) + "/" +
           std::to_string(unit.CurrentPreset().presetNumber);
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const CFIndex liveBefore = VeridaneCFGetLiveObjectCount();
    {
        ByteReader in(data, size);
        Owned<CFTypeRef> state(MakeDictionary(in, 0, in.Next() % 12));
        FuzzUnit unit(Instance());
        const ParameterSnapshot before = ParametersOf(unit);
        const std::string presetBefore = PresetOf(unit);

        const OSStatus status = Restore(unit, state.get());
        Require(status == noErr || status == kAudioUnitErr_InvalidPropertyValue ||
                status == kAudioUnitErr_InvalidScope || status == kAudioUnitErr_InvalidParameter);
        if (status == kAudioUnitErr_InvalidPropertyValue || status == kAudioUnitErr_InvalidScope)
        {
            Require(ParametersOf(unit) == before);
            Require(PresetOf(unit) == presetBefore);
        }

        CFPropertyListRef saved = nullptr;
        Require(unit.DispatchGetProperty(kAudioUnitProperty_ClassInfo, kAudioUnitScope_Global, 0,
                                         &saved) == noErr);
        const Owned<CFTypeRef> savedOwner(saved);
        FuzzUnit restored(Instance());
        Require(Restore(restored, saved) == noErr);
        Require(ParametersOf(restored) == ParametersOf(unit));
        Require(PresetOf(restored) == PresetOf(unit));
    }
    Require(VeridaneCFGetLiveObjectCount() == liveBefore);
    return 0;
}
