#include "hosts/audio_unit/AUEntryCatch.h"

#include "platform/frameworks/Frameworks.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

using namespace autest;

namespace
{
constexpr AudioUnitScope G = kAudioUnitScope_Global;
/** 'aufx', 'tsub', 'Tman'. */
constexpr ComponentDescription kDescription{0x61756678, 0x74737562, 0x546D616E, 0, 0};

/** A unit whose component description the frameworks stand-in answers, holding global
    parameters 0 = 1.0 and 5 = 0.25. */
struct SavingUnit : TestUnit
{
    static AudioComponentInstance RegisteredComponent()
    {
        static const Component component =
            VeridaneRegisterComponent(&kDescription, [](ComponentParameters*, void*)
                                      { return OSStatus(badComponentSelector); });
        return reinterpret_cast<AudioComponentInstance>(component);
    }

    explicit SavingUnit(bool indexed = false) : TestUnit(1, 1, 2, RegisteredComponent())
    {
        AUElement& global = *Globals().GetElement(0);
        if (indexed)
            global.UseIndexedParameters(2);
        global.SetParameter(0, 1.0f);
        if (!indexed)
            global.SetParameter(5, 0.25f);
    }
    Float32 Parameter(AudioUnitParameterID id) { return Globals().GetElement(0)->GetParameter(id); }
    CFDictionaryRef Save()
    {
        CFPropertyListRef state = nullptr;
        EXPECT_EQ(DispatchGetProperty(kAudioUnitProperty_ClassInfo, G, 0, &state), noErr);
        return static_cast<CFDictionaryRef>(state);
    }
    OSStatus Restore(CFPropertyListRef state)
    {
        return AUEntryCatch(
            [&] { return DispatchSetProperty(kAudioUnitProperty_ClassInfo, G, 0, &state, 8); });
    }
};

CFTypeRef Number(SInt32 value)
{
    return CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &value);
}

CFTypeRef Data(const std::vector<UInt8>& bytes)
{
    return CFDataCreate(kCFAllocatorDefault, bytes.data(), CFIndex(bytes.size()));
}

CFMutableDictionaryRef Dictionary()
{
    return CFDictionaryCreateMutable(kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks,
                                     &kCFTypeDictionaryValueCallBacks);
}

/** Sets (or with a null value removes) a key, taking over the value. */
void Put(CFMutableDictionaryRef dictionary, const char* key, CFTypeRef value)
{
    Owned<CFStringRef> name(MakeString(key));
    if (value == nullptr)
        CFDictionaryRemoveValue(dictionary, name.get());
    else
        CFDictionarySetValue(dictionary, name.get(), value);
    if (value != nullptr)
        CFRelease(value);
}

CFTypeRef Get(CFDictionaryRef dictionary, const char* key)
{
    Owned<CFStringRef> name(MakeString(key));
    return CFDictionaryGetValue(dictionary, name.get());
}

SInt32 IntegerOf(CFTypeRef number)
{
    SInt32 value = -1;
    EXPECT_EQ(CFGetTypeID(number), CFNumberGetTypeID());
    EXPECT_TRUE(CFNumberGetValue(static_cast<CFNumberRef>(number), kCFNumberSInt32Type, &value));
    return value;
}

/** A nested dictionary {outer: {inner: value}}, taking over the value. */
CFTypeRef Nested(const char* outer, const char* inner, CFTypeRef value)
{
    CFMutableDictionaryRef names = Dictionary();
    CFMutableDictionaryRef scope = Dictionary();
    Put(scope, inner, value);
    Put(names, outer, scope);
    return names;
}

// Global element 0 with 0 = 1.0 and 5 = 0.25.
const std::vector<UInt8> kSavedData = {0, 0, 0,    0,    0, 0, 0, 0, 0, 0, 0,    2,    0, 0,
                                       0, 0, 0x3F, 0x80, 0, 0, 0, 0, 0, 5, 0x3E, 0x80, 0, 0};
} // namespace

TEST(ClassInfo, SavesTheDescriptionTheRecordsAndThePresetName)
{
    SavingUnit unit;
    Owned<CFDictionaryRef> saved(unit.Save());
    ASSERT_NE(saved.get(), nullptr);
    EXPECT_EQ(CFDictionaryGetCount(saved.get()), 6);
    EXPECT_EQ(IntegerOf(Get(saved.get(), "version")), 0);
    EXPECT_EQ(IntegerOf(Get(saved.get(), "type")), 0x61756678);
    EXPECT_EQ(IntegerOf(Get(saved.get(), "subtype")), 0x74737562);
    EXPECT_EQ(IntegerOf(Get(saved.get(), "manufacturer")), 0x546D616E);
    EXPECT_EQ(CFGetTypeID(Get(saved.get(), "data")), CFDataGetTypeID());
    EXPECT_EQ(BytesOf(static_cast<CFDataRef>(Get(saved.get(), "data"))), kSavedData);
    EXPECT_EQ(TextOf(Get(saved.get(), "name")), "Untitled");

    // Element names, when there are any, under scope and element numbers.
    Owned<CFStringRef> side(MakeString("Side"));
    unit.DispatchSetProperty(kAudioUnitProperty_ElementName, kAudioUnitScope_Input, 0, &side.ref,
                             8);
    Owned<CFDictionaryRef> named(unit.Save());
    const auto names = static_cast<CFDictionaryRef>(Get(named.get(), "element-name"));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(CFDictionaryGetCount(names), 1);
    EXPECT_EQ(TextOf(Get(static_cast<CFDictionaryRef>(Get(names, "1")), "0")), "Side");

    // Memory running out at any of the save's additions refuses the save.
    EXPECT_GT(FailEachCoreFoundationAllocation([&](auto out) { return unit.SaveState(out); }), 12);
}

TEST(ClassInfo, RestoreTakesWhatItKnowsRefusesBeforeChangingAnythingAndTreatsOtherKindsAsAbsent)
{
    using Change = std::function<void(CFMutableDictionaryRef)>;
    struct Row
    {
        const char* name;
        Change change;
        OSStatus expected;
        Float32 parameter0;
        std::string presetName;
        std::string inputName;
    };
    const auto record = [](UInt32 element, UInt32 valueBits)
    {
        return std::vector<UInt8>{
            0, 0, 0, 0, 0, 0, 0, UInt8(element),         0,
            0, 0, 1, 0, 0, 0, 0, UInt8(valueBits >> 24), UInt8(valueBits >> 16),
            0, 0};
    };
    std::vector<UInt8> skipThenTake = record(7, 0x3F000000);
    const auto take = record(0, 0x3F400000);
    skipThenTake.insert(skipThenTake.end(), take.begin(), take.end());
    std::vector<UInt8> cut = kSavedData, hugeCount = kSavedData, extendedScope = kSavedData;
    cut.pop_back();
    hugeCount[8] = 0x20;
    extendedScope[3] = 9;
    constexpr OSStatus kRefused = kAudioUnitErr_InvalidPropertyValue;
    const char* const kNone = "<none>";
    // clang-format off
    const Row rows[] = {
        {"as saved", [](auto) {}, noErr, 1.0f, "Untitled", kNone},
        {"a name", [](auto d) { Put(d, "name", MakeString("Bright")); }, noErr, 1.0f, "Bright", kNone},
        {"no name", [](auto d) { Put(d, "name", nullptr); }, noErr, 1.0f, "Untitled", kNone},
        {"a name that is no string", [](auto d) { Put(d, "name", Number(3)); }, noErr, 1.0f, "Untitled", kNone},
        {"no data", [](auto d) { Put(d, "data", nullptr); }, noErr, 0.5f, "Untitled", kNone},
        {"data that is no data", [](auto d) { Put(d, "data", MakeString("x")); }, noErr, 0.5f, "Untitled", kNone},
        {"a record of a missing element is skipped", [&](auto d) { Put(d, "data", Data(skipThenTake)); },
         noErr, 0.75f, "Untitled", kNone},
        {"an extra key", [](auto d) { Put(d, "jucePluginState", Data({1, 2})); }, noErr, 1.0f, "Untitled", kNone},
        {"element names", [](auto d) { Put(d, "element-name", Nested("1", "0", MakeString("Side"))); },
         noErr, 1.0f, "Untitled", "Side"},
        {"element names that are no dictionary", [](auto d) { Put(d, "element-name", Number(1)); },
         noErr, 1.0f, "Untitled", kNone},
        {"a scope's names that are no dictionary",
         [](auto d) { CFMutableDictionaryRef n = Dictionary(); Put(n, "1", Number(1)); Put(d, "element-name", n); },
         noErr, 1.0f, "Untitled", kNone},
        {"a type of another kind", [](auto d) { Put(d, "type", MakeString("aumf")); }, noErr, 1.0f, "Untitled", kNone},
        {"a part", [](auto d) { Put(d, "part", Number(0)); }, kRefused, 0.5f, "Mine", kNone},
        {"no version", [](auto d) { Put(d, "version", nullptr); }, kRefused, 0.5f, "Mine", kNone},
        {"version 1", [](auto d) { Put(d, "version", Number(1)); }, kRefused, 0.5f, "Mine", kNone},
        {"a version that is no number", [](auto d) { Put(d, "version", MakeString("0")); }, kRefused, 0.5f, "Mine", kNone},
        {"no subtype", [](auto d) { Put(d, "subtype", nullptr); }, kRefused, 0.5f, "Mine", kNone},
        {"another subtype", [](auto d) { Put(d, "subtype", Number(1)); }, kRefused, 0.5f, "Mine", kNone},
        {"a subtype that is no number", [](auto d) { Put(d, "subtype", Data({})); }, kRefused, 0.5f, "Mine", kNone},
        {"no manufacturer", [](auto d) { Put(d, "manufacturer", nullptr); }, kRefused, 0.5f, "Mine", kNone},
        {"another manufacturer", [](auto d) { Put(d, "manufacturer", Number(1)); }, kRefused, 0.5f, "Mine", kNone},
        {"a manufacturer that is no number", [](auto d) { Put(d, "manufacturer", Dictionary()); },
         kRefused, 0.5f, "Mine", kNone},
        {"a record cut short", [&](auto d) { Put(d, "data", Data(cut)); }, kRefused, 0.5f, "Mine", kNone},
        {"a count past the end", [&](auto d) { Put(d, "data", Data(hugeCount)); }, kRefused, 0.5f, "Mine", kNone},
        {"a scope the unit lacks", [&](auto d) { Put(d, "data", Data(extendedScope)); },
         kAudioUnitErr_InvalidScope, 0.5f, "Mine", kNone},
    };
    // clang-format on
    Owned<CFStringRef> mine(MakeString("Mine"));
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        SavingUnit unit;
        Owned<CFDictionaryRef> saved(unit.Save());
        Owned<CFMutableDictionaryRef> state(CFDictionaryCreateMutableCopy(nullptr, 0, saved.get()));
        row.change(state.get());
        unit.Globals().GetElement(0)->SetParameter(0, 0.5f);
        unit.NewCustomPresetSet({-5, mine.get()});
        ListenerLog log;
        log.Attach(unit, {kAudioUnitProperty_PresentPreset});

        EXPECT_EQ(unit.Restore(state.get()), row.expected);
        EXPECT_EQ(unit.Parameter(0), row.parameter0);
        EXPECT_EQ(unit.CurrentPreset().presetNumber, row.expected == noErr ? -1 : -5);
        EXPECT_EQ(TextOf(unit.CurrentPreset().presetName), row.presetName);
        EXPECT_EQ(TextOf(unit.Inputs().GetElement(0)->GetName()), row.inputName);
        EXPECT_EQ(log.calls.size(), row.expected == noErr ? 1u : 0u);
        if (!log.calls.empty())
            EXPECT_EQ(log.calls[0], (ListenerCall{&log, unit.GetComponentInstance(), 36, 0, 0}));
    }
    SavingUnit unit;
    EXPECT_EQ(unit.Restore(nullptr), kAudioUnitErr_InvalidPropertyValue);
    EXPECT_EQ(unit.Restore(mine.get()), kAudioUnitErr_InvalidPropertyValue);

    // A key past an indexed element's slots stops the restore there.
    SavingUnit indexed(true);
    Owned<CFMutableDictionaryRef> state(Dictionary());
    Put(state.get(), "version", Number(0));
    Put(state.get(), "subtype", Number(0x74737562));
    Put(state.get(), "manufacturer", Number(0x546D616E));
    Put(state.get(), "data", Data({0, 0, 0,    0, 0, 0, 0, 0, 0, 0, 0,    2, 0, 0,
                                   0, 1, 0x3F, 0, 0, 0, 0, 0, 0, 5, 0x3F, 0, 0, 0}));
    EXPECT_EQ(indexed.Restore(state.get()), kAudioUnitErr_InvalidParameter);
    EXPECT_EQ(indexed.Parameter(1), 0.5f);
}
