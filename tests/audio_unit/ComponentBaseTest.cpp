#include "hosts/audio_unit/AUStatus.h"

#include "platform/frameworks/Frameworks.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <new>

using namespace autest;

namespace
{
/** A parameter block with room for the instance word and two arguments. */
struct Block
{
    ComponentParameters params{};
    intptr_t arguments[2]{};
};

Block Call(SInt16 selector, intptr_t firstArgument = 0)
{
    Block block;
    block.params.what = selector;
    block.arguments[0] = firstArgument;
    return block;
}

class ProbeComponent : public ComponentBase
{
public:
    ProbeComponent(int& preDestructors, int& destructors, bool failsToCleanUp = false)
        : ComponentBase(nullptr), mPreDestructors(preDestructors), mDestructors(destructors),
          mFailsToCleanUp(failsToCleanUp)
    {
    }
    ~ProbeComponent() override { ++mDestructors; }
    OSStatus Version() override { return 0x10000; }
    void PreDestructor() override
    {
        ++mPreDestructors;
        if (mFailsToCleanUp)
            ThrowStatus(-1234);
    }

private:
    int& mPreDestructors;
    int& mDestructors;
    const bool mFailsToCleanUp;
};

//==================================================================================================
// TestUnit opened by the frameworks stand-in on both roads, as the entry points open a unit.

TestUnit* gOpenedUnit = nullptr;

AudioComponentMethod NoMethods(SInt16)
{
    return nullptr;
}

OSStatus OpenBlock(void* self, AudioComponentInstance instance)
{
    auto* block = static_cast<AudioComponentPlugInInstance*>(self);
    ComponentInitLocker lock;
    ComponentBase::sNewInstanceType = ComponentBase::kAudioComponentInstance;
    gOpenedUnit = static_cast<TestUnit*>(block->mConstruct(block->mInstanceStorage, instance));
    gOpenedUnit->PostConstructor();
    return noErr;
}

OSStatus CloseBlock(void* self)
{
    auto* block = static_cast<AudioComponentPlugInInstance*>(self);
    block->mDestruct(block->mInstanceStorage);
    std::free(block);
    return noErr;
}

AudioComponentPlugInInterface* TestUnitFactory(const AudioComponentDescription*)
{
    void* memory =
        std::malloc(offsetof(AudioComponentPlugInInstance, mInstanceStorage) + sizeof(TestUnit));
    auto* block = static_cast<AudioComponentPlugInInstance*>(memory);
    block->mPlugInInterface = {OpenBlock, CloseBlock, NoMethods, nullptr};
    block->mConstruct = [](void* at, AudioComponentInstance instance) -> void*
    { return new (at) TestUnit(1, 1, 2, instance); };
    block->mDestruct = [](void* at) { static_cast<TestUnit*>(at)->~TestUnit(); };
    return &block->mPlugInInterface;
}

OSStatus TestUnitEntry(ComponentParameters* params, void* storage)
{
    if (params->what != kComponentOpenSelect)
        return ComponentBase::ComponentEntryDispatch(params, static_cast<ComponentBase*>(storage));
    auto* instance = reinterpret_cast<ComponentInstance>(params->params[0]);
    ComponentInitLocker lock;
    ComponentBase::sNewInstanceType = ComponentBase::kComponentMgrInstance;
    gOpenedUnit = new TestUnit(1, 1, 2, instance);
    gOpenedUnit->PostConstructor();
    ComponentBase::CMgr_SetComponentInstanceStorage(instance, gOpenedUnit);
    return noErr;
}

constexpr AudioComponentDescription kFactoryDescription{MakeFourCharCode('a', 'u', 'f', 'x'),
                                                        MakeFourCharCode('f', 'a', 'c', 't'),
                                                        MakeFourCharCode('T', 'e', 's', 't'), 1, 2};
constexpr ComponentDescription kEntryDescription{MakeFourCharCode('a', 'u', 'f', 'x'),
                                                 MakeFourCharCode('e', 'n', 't', 'r'),
                                                 MakeFourCharCode('T', 'e', 's', 't'), 3, 4};
} // namespace

TEST(ComponentEntryDispatch, AnswersVersionCanDoAndCloseAndRefusesTheRest)
{
    struct Row
    {
        const char* name;
        SInt16 selector;
        intptr_t argument;
        OSStatus answer;
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
        {"selector 0", 0, 0, badComponentSelector},
        {"render selector", kAudioUnitRenderSelect, 0, badComponentSelector},
    };
    int preDestructors = 0, destructors = 0;
    ProbeComponent probe(preDestructors, destructors);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        Block block = Call(row.selector, row.argument);
        EXPECT_EQ(ComponentBase::ComponentEntryDispatch(&block.params, &probe), row.answer);
    }
    Block version = Call(kComponentVersionSelect);
    EXPECT_EQ(ComponentBase::ComponentEntryDispatch(&version.params, nullptr), paramErr);
    EXPECT_EQ(ComponentBase::ComponentEntryDispatch(nullptr, &probe), paramErr);
    EXPECT_EQ(preDestructors + destructors, 0);

    for (const bool failsToCleanUp : {false, true})
    {
        SCOPED_TRACE(failsToCleanUp ? "clean-up fails" : "clean-up succeeds");
        int pre = 0, destroyed = 0;
        Block close = Call(kComponentCloseSelect);
        auto* closing = new ProbeComponent(pre, destroyed, failsToCleanUp);
        OSStatus answer = noErr;
        try
        {
            answer = ComponentBase::ComponentEntryDispatch(&close.params, closing);
        }
        catch (OSStatus thrown)
        {
            answer = thrown;
        }
        EXPECT_EQ(answer, failsToCleanUp ? -1234 : noErr);
        EXPECT_EQ(pre, 1);
        EXPECT_EQ(destroyed, 1);
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

TEST(PlatformPresent, UnitsFindTheirRegisteredDescriptionAndStorageOnBothRoads)
{
    const AudioComponent factoryComponent =
        VeridaneRegisterAudioComponent(&kFactoryDescription, TestUnitFactory);
    const Component entryComponent = VeridaneRegisterComponent(&kEntryDescription, TestUnitEntry);

    const AudioComponentDescription entryDescription{
        kEntryDescription.componentType, kEntryDescription.componentSubType,
        kEntryDescription.componentManufacturer, kEntryDescription.componentFlags,
        kEntryDescription.componentFlagsMask};
    struct Row
    {
        const char* name;
        bool throughFactory;
        ComponentBase::EInstanceType type;
        AudioComponentDescription description;
    };
    for (const Row& row :
         {Row{"plug-in block", true, ComponentBase::kAudioComponentInstance, kFactoryDescription},
          Row{"Component Manager", false, ComponentBase::kComponentMgrInstance, entryDescription}})
    {
        SCOPED_TRACE(row.name);
        AudioComponentInstance instance = nullptr;
        gOpenedUnit = nullptr;
        if (row.throughFactory)
            ASSERT_EQ(AudioComponentInstanceNew(factoryComponent, &instance), noErr);
        else
            ASSERT_EQ(OpenAComponent(entryComponent, &instance), noErr);
        TestUnit* unit = gOpenedUnit;
        ASSERT_NE(unit, nullptr);

        EXPECT_EQ(unit->GetComponentInstance(), instance);
        EXPECT_EQ(unit->GetInstanceType(), row.type);
        const AudioComponentDescription description = unit->GetComponentDescription();
        EXPECT_EQ(std::memcmp(&description, &row.description, sizeof description), 0);
        EXPECT_EQ(ComponentBase::CMgr_GetComponentInstanceStorage(instance),
                  row.throughFactory ? nullptr : unit);
        EXPECT_EQ(ComponentBase::sNewInstanceType, ComponentBase::kComponentMgrInstance);

        if (row.throughFactory)
            EXPECT_EQ(AudioComponentInstanceDispose(instance), noErr);
        else
            EXPECT_EQ(CloseComponent(instance), noErr);
    }
}
