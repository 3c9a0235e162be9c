#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

using namespace autest;

namespace
{
constexpr AudioUnitPropertyID kA = 30, kB = 36;

/** Every call of every listener of a test, in the order they came. */
std::vector<ListenerCall> gCalls;

void Record(void* refCon, AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope,
            AudioUnitElement element)
{
    gCalls.push_back({refCon, unit, id, scope, element});
}
} // namespace

TEST(PropertyListeners, CalledInRegistrationOrderAndRemovedByEveryMatch)
{
    int p = 0, q = 0, other = 0;
    struct Registration
    {
        AudioUnitPropertyID id;
        void* refCon;
    };
    struct Row
    {
        const char* name;
        std::vector<Registration> added;
        std::function<void(AUBase&)> remove;
        /** The user data of each call a notice of kA makes, in order. */
        std::vector<void*> called;
    };
    const Row rows[] = {
        {"in registration order, only for their id",
         {{kA, &q}, {kB, &p}, {kA, &p}},
         [](AUBase&) {},
         {&q, &p}},
        {"duplicates are each called", {{kA, &p}, {kA, &p}}, [](AUBase&) {}, {&p, &p}},
        {"removal without user data takes every match",
         {{kA, &p}, {kA, &q}, {kB, &p}},
         [&](AUBase& u) { u.RemovePropertyListener(kA, Record, &other, false); },
         {}},
        {"removal with user data takes only that user data, the rest keep their order",
         {{kA, &q}, {kA, &p}, {kA, &other}, {kA, &p}},
         [&](AUBase& u) { u.RemovePropertyListener(kA, Record, &p, true); },
         {&q, &other}},
        {"removal of what is not there changes nothing",
         {{kA, &q}},
         [&](AUBase& u) { u.RemovePropertyListener(kB, Record, &q, true); },
         {&q}},
    };
    int instance = 0;
    const auto handle = reinterpret_cast<AudioComponentInstance>(&instance);
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        gCalls.clear();
        TestUnit unit(1, 1, 2, handle);
        for (const Registration& r : row.added)
            EXPECT_EQ(unit.AddPropertyListener(r.id, Record, r.refCon), noErr);
        row.remove(unit);
        unit.PropertyChanged(kA, kAudioUnitScope_Input, 3);

        std::vector<ListenerCall> expected;
        for (void* refCon : row.called)
            expected.push_back({refCon, handle, kA, kAudioUnitScope_Input, 3});
        EXPECT_EQ(gCalls, expected);
    }
    TestUnit unit;
    EXPECT_EQ(unit.AddPropertyListener(kA, nullptr, nullptr), kAudio_ParamError);
}

TEST(PropertyListeners, AListenerThatChangesTheListLetsTheCurrentNoticeFinish)
{
    struct Shared
    {
        AUBase* unit;
        std::vector<std::string> calls;
    };
    static Shared shared;
    struct Listeners
    {
        static void RemovesItselfAndAddsLate(void*, AudioUnit, AudioUnitPropertyID id,
                                             AudioUnitScope, AudioUnitElement)
        {
            shared.calls.push_back("changer");
            shared.unit->RemovePropertyListener(id, RemovesItselfAndAddsLate, nullptr, false);
            shared.unit->RemovePropertyListener(id, Last, nullptr, false);
            shared.unit->AddPropertyListener(id, Late, nullptr);
        }
        static void Last(void*, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
        {
            shared.calls.push_back("last");
        }
        static void Late(void*, AudioUnit, AudioUnitPropertyID, AudioUnitScope, AudioUnitElement)
        {
            shared.calls.push_back("late");
        }
    };
    TestUnit unit;
    shared = {&unit, {}};
    unit.AddPropertyListener(kA, Listeners::RemovesItselfAndAddsLate, nullptr);
    unit.AddPropertyListener(kA, Listeners::Last, nullptr);
    unit.PropertyChanged(kA, 0, 0);
    unit.PropertyChanged(kA, 0, 0);
    EXPECT_EQ(shared.calls, (std::vector<std::string>{"changer", "last", "late"}));
}
