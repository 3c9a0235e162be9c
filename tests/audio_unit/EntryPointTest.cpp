#include "hosts/audio_unit/AUPlugInDispatch.h"
#include "hosts/audio_unit/AUSelectorTable.h"
#include "hosts/audio_unit/ComponentEntryPoint.h"
#include "platform/frameworks/Frameworks.h"
#include "platform/frameworks/ParameterBlock.h"

#include "tests/audio_unit/TestEffect.h"

#include <gtest/gtest.h>

#include <map>

using namespace autest;

namespace
{
using PlugIn = AUPlugInFactory<TestEffect>;
using Entry = ComponentEntryPoint<TestEffect>;

/** One instance on each road: a plug-in block opened by hand, and a Component Manager instance
    opened through the frameworks stand-in. */
struct BothRoads
{
    AudioComponentPlugInInterface* block = PlugIn::Factory(nullptr);
    ComponentInstance instance = nullptr;
    void* storage = nullptr;

    BothRoads()
    {
        EXPECT_EQ(block->Open(block, nullptr), noErr);
        static const ComponentDescription description{1, 2, 3, 0, 0};
        static const Component component = VeridaneRegisterComponent(&description, Entry::Dispatch);
        EXPECT_EQ(OpenAComponent(component, &instance), noErr);
        storage = GetComponentInstanceStorage(instance);
    }
    ~BothRoads()
    {
        block->Close(block);
        CloseComponent(instance);
    }

    TestEffect& EntryUnit() { return static_cast<TestEffect&>(*static_cast<AUBase*>(storage)); }

    template <typename... Args> OSStatus CallEntry(SInt16 selector, Args... args)
    {
        veridane::frameworks::ParameterBlock parameters(selector, instance);
        (parameters.Append(args), ...);
        return Entry::Dispatch(&parameters.Header(), storage);
    }
};
} // namespace

TEST(SelectorTable, EachRoadServesAndAnswersCanDoAsTheTableSays)
{
    // The bytes of arguments after the instance word that each selector reads.
    const std::map<SInt16, UInt8> argumentBytes = {
        {3, 40},  {4, 40},  {5, 40}, {7, 40},  {14, 40}, {6, 32},  {0x101, 32},
        {10, 24}, {18, 24}, {9, 16}, {15, 16}, {16, 16}, {17, 16}, {0x102, 16}};
    BothRoads roads;
    for (const SInt16 unknown : {0, 8, 12, 13, 19, 0x103})
        EXPECT_EQ(roads.block->Lookup(unknown), nullptr) << unknown;

    for (const UInt8 version : {2, 1})
    {
        roads.EntryUnit().SetAPIVersion(version);
        for (const AUSelectorRow& row : kAUSelectorTable)
        {
            SCOPED_TRACE(std::string(row.name) + " at API version " + std::to_string(version));
            EXPECT_EQ(roads.block->Lookup(row.selector) != nullptr, row.plugInRoad);
            const OSStatus canDo =
                roads.CallEntry(kComponentCanDoSelect, UInt32(UInt16(row.selector)));
            EXPECT_EQ(canDo, row.canDo == AUCanDo::yes ||
                                     (row.canDo == AUCanDo::fromAPIVersion2 && version >= 2)
                                 ? 1
                                 : 0);
            if (!row.componentManagerRoad)
                EXPECT_EQ(
                    roads.CallEntry(row.selector, UInt32(0), static_cast<const void*>(nullptr)),
                    badComponentSelector);
            else if (const auto needed = argumentBytes.find(row.selector);
                     needed != argumentBytes.end())
            {
                // A block one word short, allocated no longer than it says: refused unread.
                std::vector<intptr_t> block(needed->second / 8 + 1, 0);
                auto& params = *reinterpret_cast<ComponentParameters*>(block.data());
                params.paramSize = UInt8(needed->second - 8);
                params.what = row.selector;
                EXPECT_EQ(Entry::Dispatch(&params, roads.storage), kAudio_ParamError);
            }
        }
    }
    EXPECT_EQ(roads.CallEntry(kComponentVersionSelect), 1);
    EXPECT_EQ(roads.CallEntry(kAudioUnitResetSelect, UInt32(0), UInt32(0), UInt32(0)), noErr);
    EXPECT_EQ(roads.CallEntry(kAudioUnitScheduleParametersSelect, static_cast<const void*>(nullptr),
                              UInt32(0)),
              badComponentSelector); // still API version 1
}

TEST(EntryPoints, AFailedOpenOrCleanUpLeavesNoUnitAndNoBlockBehind)
{
    static const ComponentDescription description{4, 5, 6, 0, 0};
    static const Component component = VeridaneRegisterComponent(&description, Entry::Dispatch);

    TestEffect::failPostConstructor = true;
    AudioComponentPlugInInterface* block = PlugIn::Factory(nullptr);
    EXPECT_EQ(block->Open(block, nullptr), -42);
    ComponentInstance instance = nullptr;
    EXPECT_EQ(OpenAComponent(component, &instance), -42);
    EXPECT_EQ(TestEffect::live, 0);
    TestEffect::failPostConstructor = false;

    block = PlugIn::Factory(nullptr);
    ASSERT_EQ(block->Open(block, nullptr), noErr);
    ASSERT_EQ(OpenAComponent(component, &instance), noErr);
    EXPECT_EQ(TestEffect::live, 2);
    TestEffect::failPreDestructor = true;
    EXPECT_EQ(block->Close(block), -43);
    EXPECT_EQ(CloseComponent(instance), -43);
    TestEffect::failPreDestructor = false;
    EXPECT_EQ(TestEffect::live, 0);
}

TEST(EntryPoints, TheFactoryAnswersNullWhenTheBlockCannotBeAllocated)
{
    struct HugeEffect : TestEffect
    {
        using TestEffect::TestEffect;
        char room[size_t(1) << 44];
    };
    EXPECT_EQ(AUPlugInFactory<HugeEffect>::Factory(nullptr), nullptr);
}
