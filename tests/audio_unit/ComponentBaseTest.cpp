#include "hosts/audio_unit/AUStatus.h"

#include "tests/audio_unit/FakeSources.h"
#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace autest;

namespace
{
/** A parameter block with room for the instance word and two arguments. */
struct Block
{
    ComponentParameters params{};
    intptr_t arguments[2]{};
};

Block Call(SInt16 selector, intptr_t firstArgument = 0, UInt8 argumentBytes = 16)
{
    Block block;
    block.params.paramSize = argumentBytes;
    block.params.what = selector;
    block.arguments[0] = firstArgument;
    return block;
}

/** Counts its clean-ups and destructions; its clean-up fails when asked to. */
struct ProbeComponent : ComponentBase
{
    int& cleanUps;
    int& destructions;
    bool failsToCleanUp = false;

    ProbeComponent(int& c, int& d) : ComponentBase(nullptr), cleanUps(c), destructions(d) {}
    ~ProbeComponent() override { ++destructions; }
    OSStatus Version() override { return 0x10000; }
    void PreDestructor() override
    {
        ++cleanUps;
        if (failsToCleanUp)
            ThrowStatus(-1234);
    }
};
} // namespace

TEST(ComponentEntryDispatch, AnswersVersionCanDoAndCloseAndRefusesTheRest)
{
    struct Row
    {
        const char* name;
        SInt16 selector;
        intptr_t argument;
        OSStatus answer;
        UInt8 argumentBytes = 16;
    };
    const Row rows[] = {
        {"version", kComponentVersionSelect, 0, 0x10000},
        {"can do open", kComponentCanDoSelect, kComponentOpenSelect, 1},
        {"can do close", kComponentCanDoSelect, kComponentCloseSelect, 1},
        {"can do can-do", kComponentCanDoSelect, kComponentCanDoSelect, 1},
        {"can do version", kComponentCanDoSelect, kComponentVersionSelect, 1},
        {"can do 0", kComponentCanDoSelect, 0, 0},
        {"can do render", kComponentCanDoSelect, kAudioUnitRenderSelect, 0},
        {"can do a MIDI selector", kComponentCanDoSelect, kMusicDeviceMIDIEventSelect, 0},
        {"can do reads the low 16 bits, signed", kComponentCanDoSelect, 0x7FFFFFFFFFFFFFFF, 1},
        {"can do in a block without its word", kComponentCanDoSelect, kComponentOpenSelect,
         paramErr, 0},
        {"selector 0", 0, 0, badComponentSelector},
        {"render selector", kAudioUnitRenderSelect, 0, badComponentSelector},
    };
    int cleanUps = 0, destructions = 0;
    ProbeComponent probe(cleanUps, destructions);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        Block block = Call(row.selector, row.argument, row.argumentBytes);
        EXPECT_EQ(ComponentBase::ComponentEntryDispatch(&block.params, &probe), row.answer);
    }
    Block shortCanDo = Call(kComponentCanDoSelect, kComponentOpenSelect, 0);
    EXPECT_EQ(ComponentBase::GetSelectorForCanDo(&shortCanDo.params), 0);
    Block version = Call(kComponentVersionSelect);
    EXPECT_EQ(ComponentBase::ComponentEntryDispatch(&version.params, nullptr), paramErr);
    EXPECT_EQ(ComponentBase::ComponentEntryDispatch(nullptr, &probe), paramErr);

    // Close cleans up and deletes the object, also when the clean-up fails.
    for (const bool fails : {false, true})
    {
        SCOPED_TRACE(fails ? "clean-up fails" : "clean-up succeeds");
        cleanUps = destructions = 0;
        auto* closing = new ProbeComponent(cleanUps, destructions);
        closing->failsToCleanUp = fails;
        Block close = Call(kComponentCloseSelect);
        EXPECT_EQ(StatusOf(
                      [&] {
                          EXPECT_EQ(ComponentBase::ComponentEntryDispatch(&close.params, closing),
                                    noErr);
                      }),
                  fails ? -1234 : noErr);
        EXPECT_EQ(cleanUps, 1);
        EXPECT_EQ(destructions, 1);
    }
}

TEST(ComponentInitLocker, PutsTheNewInstanceTypeBackUnderNestingAndFailure)
{
    ASSERT_EQ(ComponentBase::sNewInstanceType, ComponentBase::kComponentMgrInstance);
    {
        ComponentInitLocker outer;
        ComponentBase::sNewInstanceType = ComponentBase::kAudioComponentInstance;
        {
            ComponentInitLocker inner;
            ComponentBase::sNewInstanceType = ComponentBase::kComponentMgrInstance;
            EXPECT_EQ(TestUnit().GetInstanceType(), ComponentBase::kComponentMgrInstance);
        }
        EXPECT_EQ(ComponentBase::sNewInstanceType, ComponentBase::kAudioComponentInstance);
        EXPECT_EQ(TestUnit().GetInstanceType(), ComponentBase::kAudioComponentInstance);
        try
        {
            ComponentInitLocker failing;
            ComponentBase::sNewInstanceType = ComponentBase::kComponentMgrInstance;
            ThrowStatus(kAudioUnitErr_InvalidScope);
        }
        catch (OSStatus)
        {
        }
        EXPECT_EQ(ComponentBase::sNewInstanceType, ComponentBase::kAudioComponentInstance);
    }
    EXPECT_EQ(ComponentBase::sNewInstanceType, ComponentBase::kComponentMgrInstance);
}

TEST(PlatformPresent, UnitsFindTheirComponentsDescriptionAndStorageOnBothRoads)
{
    struct Row
    {
        const char* name;
        OpenFakeSource::Road road;
        ComponentBase::EInstanceType type;
        UInt32 subtype, flags, flagsMask;
        bool hasStorage;
    };
    const Row rows[] = {
        {"plug-in block", OpenFakeSource::Road::plugInBlock, ComponentBase::kAudioComponentInstance,
         0x66616B70, 1, 2, false},
        {"Component Manager", OpenFakeSource::Road::componentManager,
         ComponentBase::kComponentMgrInstance, 0x66616B63, 3, 4, true},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeSource source;
        const OpenFakeSource open(source, row.road);
        ComponentInitLocker lock;
        ComponentBase::sNewInstanceType = row.type;
        const TestUnit unit(1, 1, 2, open.Unit());

        const AudioComponentDescription description = unit.GetComponentDescription();
        const UInt32 expected[] = {0x61756678, row.subtype, 0x54657374, row.flags, row.flagsMask};
        EXPECT_EQ(std::memcmp(&description, expected, sizeof expected), 0);
        EXPECT_EQ(ComponentBase::CMgr_GetComponentInstanceStorage(open.Unit()),
                  row.hasStorage ? &source : nullptr);
    }
}
