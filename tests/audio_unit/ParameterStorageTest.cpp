#include "hosts/audio_unit/AUSavedParameters.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <functional>
#include <map>

using namespace autest;

namespace
{
template <typename Action> OSStatus StatusOf(Action&& action)
{
    try
    {
        action();
        return noErr;
    }
    catch (OSStatus status)
    {
        return status;
    }
}

std::map<AudioUnitParameterID, Float32> ParametersOf(AUElement& element)
{
    std::vector<AudioUnitParameterID> ids(element.GetNumberOfParameters());
    element.GetParameterList(ids.data());
    std::map<AudioUnitParameterID, Float32> values;
    for (const auto id : ids)
        values[id] = element.GetParameter(id);
    return values;
}

/** Global element 0 in map mode with 0 = 1.0 and 5 = 0.25; output element 0 indexed with two
    slots, 0.5 and -2.0; the input element without parameters. */
void SetUpSavedUnit(TestUnit& unit)
{
    unit.Globals().GetElement(0)->SetParameter(5, 0.25f);
    unit.Globals().GetElement(0)->SetParameter(0, 1.0f);
    AUElement& output = *unit.Outputs().GetElement(0);
    output.UseIndexedParameters(2);
    output.SetParameter(0, 0.5f);
    output.SetParameter(1, -2.0f);
}

const std::vector<UInt8> kSavedRecords = {
    // global scope, element 0, 2 pairs: 0 = 1.0, 5 = 0.25
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0x3F, 0x80, 0, 0, 0, 0, 0, 5, 0x3E, 0x80, 0, 0,
    // output scope, element 0, 2 pairs: 0 = 0.5, 1 = -2.0
    0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0x3F, 0, 0, 0, 0, 0, 0, 1, 0xC0, 0, 0, 0};

/** A unit ready to take kSavedRecords back: its output element has the two indexed slots. */
struct RestoreTarget
{
    TestUnit unit;
    RestoreTarget() { unit.Outputs().GetElement(0)->UseIndexedParameters(2); }

    std::map<AudioUnitParameterID, Float32> Global()
    {
        return ParametersOf(*unit.Globals().GetElement(0));
    }
    std::map<AudioUnitParameterID, Float32> Output()
    {
        return ParametersOf(*unit.Outputs().GetElement(0));
    }

    OSStatus Restore(const std::vector<UInt8>& data, size_t length)
    {
        return StatusOf([&] { RestoreParameterRecords(unit, data.data(), length); });
    }
};
} // namespace

TEST(ParameterStorage, MapAndIndexedModesHoldWhatTheyMay)
{
    using Values = std::map<AudioUnitParameterID, Float32>;
    struct Row
    {
        const char* name;
        bool initialized;
        std::function<void(AUElement&)> act;
        Values values;
        std::vector<AudioUnitParameterID> missing;
    };
    const Row rows[] = {
        {"map lists ids ascending",
         false,
         [](AUElement& e)
         {
             e.SetParameter(9, 3.0f);
             e.SetParameter(2, 1.0f);
             e.SetParameter(9, 4.0f);
         },
         {{2, 1.0f}, {9, 4.0f}},
         {0, 3}},
        {"map ignores a new id while initialised",
         true,
         [](AUElement& e) { e.SetParameter(4, 1.0f); },
         {},
         {4}},
        {"map takes a new id while initialised when allowed",
         true,
         [](AUElement& e) { e.SetParameter(4, 1.0f, true); },
         {{4, 1.0f}},
         {}},
        {"indexed slots are 0 to size-1, starting at 0.0",
         false,
         [](AUElement& e)
         {
             e.UseIndexedParameters(3);
             e.SetParameter(1, 0.5f);
         },
         {{0, 0.0f}, {1, 0.5f}, {2, 0.0f}},
         {3}},
        {"indexed shrinking keeps the first slots",
         false,
         [](AUElement& e)
         {
             e.UseIndexedParameters(5);
             e.SetParameter(0, 0.1f);
             e.SetParameter(1, 0.2f);
             e.SetParameter(4, 0.5f);
             e.UseIndexedParameters(2);
         },
         {{0, 0.1f}, {1, 0.2f}},
         {2, 4}},
        {"indexed leaves the map's values behind",
         false,
         [](AUElement& e)
         {
             e.SetParameter(7, 1.0f);
             e.UseIndexedParameters(1);
         },
         {{0, 0.0f}},
         {7}},
    };
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
        UInt32 sliceOffset;
        UInt32 sliceFrames;
        ParameterMapEvent slot;
    };
    const auto ramp = [](SInt32 start, UInt32 duration, Float32 from, Float32 to)
    {
        AudioUnitParameterEvent event{};
        event.eventType = kParameterEvent_Ramped;
        event.eventValues.ramp = {start, duration, from, to};
        return event;
    };
    const auto immediate = [](UInt32 offset, Float32 value)
    {
        AudioUnitParameterEvent event{};
        event.eventType = kParameterEvent_Immediate;
        event.eventValues.immediate = {offset, value};
        return event;
    };
    const auto slot = [](AUParameterEventType type, SInt32 offset, UInt32 duration, Float32 v1,
                         Float32 v2, UInt32 slice)
    {
        ParameterMapEvent e;
        e.mEventType = type;
        e.mBufferOffset = offset;
        e.mDurationInFrames = duration;
        e.mValue1 = v1;
        e.mValue2 = v2;
        e.mSliceDurationFrames = slice;
        return e;
    };
    const Row rows[] = {
        {"ramp that began before the slice", ramp(100, 50, 0.0f, 1.0f), 128, 64,
         slot(2, -28, 50, 0.0f, 1.0f, 64)},
        {"ramp inside the slice", ramp(200, 100, 1.0f, 0.5f), 200, 100,
         slot(2, 0, 100, 1.0f, 0.5f, 100)},
        {"immediate event holds for the whole slice", immediate(30, 0.75f), 0, 64,
         slot(1, 0, 64, 0.75f, 0.75f, 64)},
        {"ramp offset below the 32-bit range", ramp(INT32_MIN, 10, 0.0f, 1.0f), 10, 64,
         slot(2, INT32_MIN, 10, 0.0f, 1.0f, 64)},
        {"negative ramp in a slice past 2^31", ramp(-5, 10, 0.0f, 1.0f), 0xFFFFFFF0u, 16,
         slot(2, INT32_MIN, 10, 0.0f, 1.0f, 16)},
        {"largest ramp offset", ramp(INT32_MAX, 1, 0.0f, 1.0f), 0, 16,
         slot(2, INT32_MAX, 1, 0.0f, 1.0f, 16)},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        ParameterMapEvent stored(9.0f);
        stored.SetScheduledEvent(row.event, row.sliceOffset, row.sliceFrames);
        EXPECT_EQ(stored.mEventType, row.slot.mEventType);
        EXPECT_EQ(stored.mBufferOffset, row.slot.mBufferOffset);
        EXPECT_EQ(stored.mDurationInFrames, row.slot.mDurationInFrames);
        EXPECT_EQ(stored.mValue1, row.slot.mValue1);
        EXPECT_EQ(stored.mValue2, row.slot.mValue2);
        EXPECT_EQ(stored.mSliceDurationFrames, row.slot.mSliceDurationFrames);
    }

    // Through an element: a map-mode slot is made, an indexed element refuses a missing one.
    TestUnit unit;
    AUElement& element = *unit.Globals().GetElement(0);
    element.SetScheduledEvent(3, ramp(0, 10, 0.25f, 1.0f), 0, 16);
    EXPECT_EQ(element.GetParameter(3), 0.25f);
    element.UseIndexedParameters(1);
    EXPECT_EQ(StatusOf([&] { element.SetScheduledEvent(1, immediate(0, 1.0f), 0, 16); }),
              kAudioUnitErr_InvalidParameter);
}

TEST(SavedParameterRecords, ScopesWriteOneBigEndianRecordPerElementWithParameters)
{
    TestUnit unit;
    SetUpSavedUnit(unit);
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
    EXPECT_EQ(target.Global(), (std::map<AudioUnitParameterID, Float32>{{0, 1.0f}, {5, 0.25f}}));
    EXPECT_EQ(target.Output(), (std::map<AudioUnitParameterID, Float32>{{0, 0.5f}, {1, -2.0f}}));

    struct Row
    {
        const char* name;
        std::vector<UInt8> data;
        OSStatus status;
        std::map<AudioUnitParameterID, Float32> global;
        std::map<AudioUnitParameterID, Float32> output;
    };
    const Row rows[] = {
        {"a record for element 7 is skipped, the next one read",
         {0, 0, 0, 1, 0, 0, 0, 7, 0, 0, 0, 1, 0, 0, 0, 1, 0x3F, 0x80, 0, 0,
          0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 4, 0x40, 0,    0, 0},
         noErr,
         {{4, 2.0f}},
         {{0, 0.0f}, {1, 0.0f}}},
        {"an id past the indexed slots stops after the pairs before it",
         {0, 0, 0,    2,    0, 0, 0, 0, 0, 0, 0,    2,    0, 0,
          0, 1, 0x3F, 0x80, 0, 0, 0, 0, 0, 2, 0x3F, 0x80, 0, 0},
         kAudioUnitErr_InvalidParameter,
         {},
         {{0, 0.0f}, {1, 1.0f}}},
        {"an unknown scope refuses before anything is set",
         {0,    0,    0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1,
          0x3F, 0x80, 0, 0, 0, 0, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0},
         kAudioUnitErr_InvalidScope,
         {},
         {{0, 0.0f}, {1, 0.0f}}},
        {"a pair count past the end refuses, counted in 64 bits",
         {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 1, 0x3F, 0x80, 0, 0},
         kAudioUnitErr_InvalidPropertyValue,
         {},
         {{0, 0.0f}, {1, 0.0f}}},
    };
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
    const std::map<AudioUnitParameterID, Float32> untouchedOutput{{0, 0.0f}, {1, 0.0f}};
    for (size_t length = 0; length < kSavedRecords.size(); ++length)
    {
        SCOPED_TRACE(length);
        RestoreTarget target;
        const OSStatus status = target.Restore(kSavedRecords, length);
        if (length == 0 || length == 28)
        {
            EXPECT_EQ(status, noErr);
            EXPECT_EQ(target.Global().size(), length == 28 ? 2u : 0u);
        }
        else
        {
            EXPECT_EQ(status, kAudioUnitErr_InvalidPropertyValue);
            EXPECT_TRUE(target.Global().empty());
        }
        EXPECT_EQ(target.Output(), untouchedOutput);
        EXPECT_EQ(AreWholeParameterRecords(kSavedRecords.data(), length), status == noErr);
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
    Owned<CFStringRef> scopeKey(MakeString("1")), elementKey(MakeString("1"));
    const auto* inputNames =
        static_cast<CFDictionaryRef>(CFDictionaryGetValue(names.get(), scopeKey.get()));
    ASSERT_NE(inputNames, nullptr);
    EXPECT_EQ(CFDictionaryGetCount(inputNames), 1);
    EXPECT_EQ(TextOf(CFDictionaryGetValue(inputNames, elementKey.get())), "Side");

    struct Entry
    {
        CFTypeRef key;
        CFTypeRef value;
    };
    const SInt32 one = 1;
    Owned<CFNumberRef> number(CFNumberCreate(kCFAllocatorDefault, kCFNumberSInt32Type, &one));
    Owned<CFStringRef> k7(MakeString("7")), kx(MakeString("x")), k0(MakeString("0")),
        kMinus(MakeString("-1")), kSpaced(MakeString(" 1")), kBig(MakeString("4294967297")),
        mainName(MakeString("Main")), other(MakeString("Other"));
    const Entry entries[] = {
        {k7.get(), other.get()},          {kx.get(), other.get()},     {k0.get(), mainName.get()},
        {elementKey.get(), number.get()}, {number.get(), other.get()}, {kMinus.get(), other.get()},
        {kSpaced.get(), other.get()},     {kBig.get(), other.get()},
    };
    Owned<CFMutableDictionaryRef> saved(CFDictionaryCreateMutable(
        kCFAllocatorDefault, 0, &kCFTypeDictionaryKeyCallBacks, &kCFTypeDictionaryValueCallBacks));
    for (const Entry& entry : entries)
        CFDictionarySetValue(saved.get(), entry.key, entry.value);

    TestUnit restored(2, 1);
    EXPECT_FALSE(restored.Inputs().RestoreElementNames(saved.get()));
    EXPECT_EQ(TextOf(restored.Inputs().GetElement(0)->GetName()), "Main");
    EXPECT_FALSE(restored.Inputs().GetElement(1)->HasName());
    EXPECT_EQ(restored.Inputs().GetNumberOfElements(), 2u);
}
