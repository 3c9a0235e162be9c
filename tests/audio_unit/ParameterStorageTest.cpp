#include "hosts/audio_unit/AUSavedParameters.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace autest;

namespace
{
using Values = std::map<AudioUnitParameterID, Float32>;

Values ParametersOf(AUElement& element)
{
    std::vector<AudioUnitParameterID> ids(element.GetNumberOfParameters());
    element.GetParameterList(ids.data());
    Values values;
    for (const auto id : ids)
        values[id] = element.GetParameter(id);
    return values;
}

// Global element 0 in map mode holds 0 = 1.0 and 5 = 0.25, output element 0 two indexed slots
// 0.5 and -2.0, the input element nothing.
const std::vector<UInt8> kSavedRecords = {
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0x3F, 0x80, 0, 0, 0, 0, 0, 5, 0x3E, 0x80, 0, 0,
    0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0x3F, 0,    0, 0, 0, 0, 0, 1, 0xC0, 0,    0, 0};

/** Big-endian words, as the records hold them. */
std::vector<UInt8> Words(std::initializer_list<UInt32> words)
{
    std::vector<UInt8> bytes;
    for (const UInt32 word : words)
        for (const int shift : {24, 16, 8, 0})
            bytes.push_back(UInt8(word >> shift));
    return bytes;
}

constexpr UInt32 kOne = 0x3F800000, kTwo = 0x40000000;

/** A unit ready to take kSavedRecords back: its output element has the two indexed slots. */
struct RestoreTarget
{
    TestUnit unit;
    RestoreTarget() { unit.Outputs().GetElement(0)->UseIndexedParameters(2); }
    Values Global() { return ParametersOf(*unit.Globals().GetElement(0)); }
    Values Output() { return ParametersOf(*unit.Outputs().GetElement(0)); }
    OSStatus Restore(const std::vector<UInt8>& data, size_t length)
    {
        return StatusOf([&] { RestoreParameterRecords(unit, data.data(), length); });
    }
};
const Values kUntouchedOutput{{0, 0.0f}, {1, 0.0f}};

} // namespace

TEST(ParameterStorage, MapAndIndexedModesHoldWhatTheyMay)
{
    struct Row
    {
        const char* name;
        bool initialized;
        std::function<void(AUElement&)> act;
        Values values;
        std::vector<AudioUnitParameterID> missing;
    };
    // clang-format off
    const Row rows[] = {
        {"map lists ids ascending", false,
         [](AUElement& e) { e.SetParameter(9, 3.0f); e.SetParameter(2, 1.0f); e.SetParameter(9, 4.0f); },
         {{2, 1.0f}, {9, 4.0f}}, {0, 3}},
        {"map ignores a new id while initialised", true,
         [](AUElement& e) { e.SetParameter(4, 1.0f); }, {}, {4}},
        {"map takes a new id while initialised when allowed", true,
         [](AUElement& e) { e.SetParameter(4, 1.0f, true); }, {{4, 1.0f}}, {}},
        {"indexed slots are 0 to size-1, starting at 0.0", false,
         [](AUElement& e) { e.UseIndexedParameters(3); e.SetParameter(1, 0.5f); },
         {{0, 0.0f}, {1, 0.5f}, {2, 0.0f}}, {3}},
        {"indexed shrinking keeps the first slots", false,
         [](AUElement& e) {
             e.UseIndexedParameters(5);
             for (UInt32 id : {0, 1, 4}) e.SetParameter(id, 0.1f * Float32(id + 1));
             e.UseIndexedParameters(2);
         },
         {{0, 0.1f}, {1, 0.2f}}, {2, 4}},
        {"indexed leaves the map's values behind", false,
         [](AUElement& e) { e.SetParameter(7, 1.0f); e.UseIndexedParameters(1); }, {{0, 0.0f}}, {7}},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        TestUnit unit;
        unit.SetInitialized(row.initialized);
        AUElement& element = *unit.Globals().GetElement(0);
        row.act(element);
        EXPECT_EQ(ParametersOf(element), row.values);
        for (const auto id : row.missing)
            EXPECT_EQ(StatusOf([&] { element.GetParameter(id); }), kAudioUnitErr_InvalidParameter)
                << "id " << id;
    }

    TestUnit unit;
    AUElement& indexed = *unit.Globals().GetElement(0);
    indexed.UseIndexedParameters(3);
    EXPECT_EQ(StatusOf([&] { indexed.SetParameter(3, 1.0f); }), kAudioUnitErr_InvalidParameter);
}

TEST(ParameterStorage, ScheduledEventsFillTheSlotRelativeToTheSlice)
{
    struct Row
    {
        const char* name;
        AudioUnitParameterEvent event;
        UInt32 sliceOffset, sliceFrames;
        // The slot: event type, offset, duration, values, slice length.
        UInt32 type;
        SInt32 offset;
        UInt32 duration;
        Float32 value1, value2;
        UInt32 slice;
    };
    // clang-format off
    const Row rows[] = {
        {"ramp that began before the slice", Ramp(100, 50, 0, 1), 128, 64, 2, -28, 50, 0, 1, 64},
        {"ramp inside the slice", Ramp(200, 100, 1, 0.5f), 200, 100, 2, 0, 100, 1, 0.5f, 100},
        {"immediate event holds for the whole slice", Immediate(30, 0.75f), 0, 64,
         1, 0, 64, 0.75f, 0.75f, 64},
        {"ramp offset below the 32-bit range", Ramp(INT32_MIN, 10, 0, 1), 10, 64,
         2, INT32_MIN, 10, 0, 1, 64},
        {"negative ramp in a slice past 2^31", Ramp(-5, 10, 0, 1), 0xFFFFFFF0u, 16,
         2, INT32_MIN, 10, 0, 1, 16},
        {"largest ramp offset", Ramp(INT32_MAX, 1, 0, 1), 0, 16, 2, INT32_MAX, 1, 0, 1, 16},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        ParameterMapEvent slot(9.0f);
        slot.SetScheduledEvent(row.event, row.sliceOffset, row.sliceFrames);
        EXPECT_EQ(slot.mEventType, row.type);
        EXPECT_EQ(slot.mBufferOffset, row.offset);
        EXPECT_EQ(slot.mDurationInFrames, row.duration);
        EXPECT_EQ(slot.mValue1, row.value1);
        EXPECT_EQ(slot.mValue2, row.value2);
        EXPECT_EQ(slot.mSliceDurationFrames, row.slice);
    }

    // Through an element: a map-mode slot is made, an indexed element refuses a missing one.
    TestUnit unit;
    AUElement& element = *unit.Globals().GetElement(0);
    element.SetScheduledEvent(3, Ramp(0, 10, 0.25f, 1.0f), 0, 16);
    EXPECT_EQ(element.GetParameter(3), 0.25f);
    element.UseIndexedParameters(1);
    EXPECT_EQ(StatusOf([&] { element.SetScheduledEvent(1, Immediate(0, 1.0f), 0, 16); }),
              kAudioUnitErr_InvalidParameter);
}

TEST(SavedParameterRecords, ScopesWriteOneBigEndianRecordPerElementWithParameters)
{
    TestUnit unit;
    unit.Globals().GetElement(0)->SetParameter(5, 0.25f);
    unit.Globals().GetElement(0)->SetParameter(0, 1.0f);
    AUElement& output = *unit.Outputs().GetElement(0);
    output.UseIndexedParameters(2);
    output.SetParameter(0, 0.5f);
    output.SetParameter(1, -2.0f);

    Owned<CFMutableDataRef> data(CFDataCreateMutable(kCFAllocatorDefault, 0));
    unit.Globals().SaveState(data.get());
    EXPECT_EQ(BytesOf(data.get()),
              std::vector<UInt8>(kSavedRecords.begin(), kSavedRecords.begin() + 28));
    unit.Inputs().SaveState(data.get());
    EXPECT_EQ(CFDataGetLength(data.get()), 28);
    unit.Outputs().SaveState(data.get());
    EXPECT_EQ(BytesOf(data.get()), kSavedRecords);
}

TEST(SavedParameterRecords, RestoreSetsWholeRecordsOnlyAndSkipsMissingElements)
{
    RestoreTarget target;
    ASSERT_EQ(target.Restore(kSavedRecords, kSavedRecords.size()), noErr);
    EXPECT_EQ(target.Global(), (Values{{0, 1.0f}, {5, 0.25f}}));
    EXPECT_EQ(target.Output(), (Values{{0, 0.5f}, {1, -2.0f}}));

    struct Row
    {
        const char* name;
        std::vector<UInt8> data;
        OSStatus status;
        Values global, output;
    };
    // clang-format off
    const Row rows[] = {
        {"a record for element 7 is skipped, the next one read",
         Words({1, 7, 1, 1, kOne, 0, 0, 1, 4, kTwo}), noErr, {{4, 2.0f}}, kUntouchedOutput},
        {"an id past the indexed slots stops after the pairs before it",
         Words({2, 0, 2, 1, kOne, 2, kOne}), kAudioUnitErr_InvalidParameter, {},
         {{0, 0.0f}, {1, 1.0f}}},
        {"an unknown scope refuses before anything is set",
         Words({0, 0, 1, 1, kOne, 9, 0, 0}), kAudioUnitErr_InvalidScope, {}, kUntouchedOutput},
        {"a pair count past the end refuses, counted in 64 bits",
         Words({0, 0, 0xFFFFFFFF, 1, kOne}), kAudioUnitErr_InvalidPropertyValue, {},
         kUntouchedOutput},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        RestoreTarget fresh;
        EXPECT_EQ(fresh.Restore(row.data, row.data.size()), row.status);
        EXPECT_EQ(fresh.Global(), row.global);
        EXPECT_EQ(fresh.Output(), row.output);
    }
}

TEST(SavedParameterRecords, EveryTruncatedPrefixIsRefusedUnlessItEndsOnARecord)
{
    for (size_t length = 0; length < kSavedRecords.size(); ++length)
    {
        SCOPED_TRACE(length);
        RestoreTarget target;
        const bool endsOnARecord = length == 0 || length == 28;
        EXPECT_EQ(target.Restore(kSavedRecords, length),
                  endsOnARecord ? OSStatus(noErr) : OSStatus(kAudioUnitErr_InvalidPropertyValue));
        EXPECT_EQ(AreWholeParameterRecords(kSavedRecords.data(), length), endsOnARecord);
        EXPECT_EQ(target.Global().size(), length == 28 ? 2u : 0u);
        EXPECT_EQ(target.Output(), kUntouchedOutput);
    }
}

TEST(ElementNames, AreSavedByScopeAndIndexAndRestoredOnlyAsStringsUnderDecimalIndices)
{
    TestUnit unit(2, 1);
    Owned<CFMutableDictionaryRef> names(CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    unit.Inputs().AddElementNamesToDict(names.get());
    EXPECT_EQ(CFDictionaryGetCount(names.get()), 0);

    Owned<CFStringRef> side(MakeString("Side"));
    unit.Inputs().GetElement(1)->SetName(side.get());
    unit.Inputs().AddElementNamesToDict(names.get());
    ASSERT_EQ(CFDictionaryGetCount(names.get()), 1);
    const auto* inputNames =
        static_cast<CFDictionaryRef>(CFDictionaryGetValue(names.get(), CFSTR("1")));
    ASSERT_NE(inputNames, nullptr);
    EXPECT_EQ(CFDictionaryGetCount(inputNames), 1);
    EXPECT_EQ(TextOf(CFDictionaryGetValue(inputNames, CFSTR("1"))), "Side");

    const SInt32 one = 1;
    Owned<CFNumberRef> number(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &one));
    Owned<CFMutableDictionaryRef> saved(CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    // Beyond the element count, or not a decimal index.
    for (const char* key : {"7", "x", "-1", " 1", "1 ", "4294967297"})
        CFDictionarySetValue(saved.get(), VeridaneCFConstantString(key), CFSTR("Other"));
    CFDictionarySetValue(saved.get(), CFSTR("0"), CFSTR("Main"));
    CFDictionarySetValue(saved.get(), CFSTR("1"), number.get());
    CFDictionarySetValue(saved.get(), number.get(), CFSTR("Other"));

    TestUnit restored(2, 1);
    EXPECT_FALSE(restored.Inputs().RestoreElementNames(saved.get()));
    EXPECT_EQ(TextOf(restored.Inputs().GetElement(0)->GetName()), "Main");
    EXPECT_FALSE(restored.Inputs().GetElement(1)->HasName());
    EXPECT_EQ(restored.Inputs().GetNumberOfElements(), 2u);
}
