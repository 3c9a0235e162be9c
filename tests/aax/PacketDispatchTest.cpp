#include "tests/aax/EffectTestSupport.h"

#include "hosts/aax/packets/AAX_CMutex.h"

#include <cstring>
#include <thread>

using fakeaax::FakeHost;
using Strings = std::vector<std::string>;

namespace
{
using Handler = AAX_CPacketHandler<AAX_CPacketDispatcher>;

Handler singleValue(AAX_CPacketDispatcher& dispatcher)
{
    return Handler(&dispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket);
}

/** Fills its packet with the double 0.5, 8 bytes. */
struct DoubleWorker
{
    AAX_Result fill(AAX_CPacket& packet)
    {
        const double value = 0.5;
        std::memcpy(packet.ResizeData(sizeof value), &value, sizeof value);
        return AAX_SUCCESS;
    }
};
DoubleWorker gDoubleWorker;

struct Step
{
    const char* action; // "generate", "update <identifier>"
    int32_t result;
    Strings posted; // the packets this step posts
    std::vector<int64_t> postAnswers = {};
};

// The test effect registers "MasterBypassID" on field 3; each row adds registrations for "0"
// (a float of 0.9: 66 66 66 3F) and runs its steps; an update sets 1.0.
TEST_F(AcfTest, DispatchPostsEachDirtyPacketOnceInIdentifierOrder)
{
    struct Row
    {
        const char* name;
        TestEffect::Extra registrations;
        std::vector<Step> steps;
    };
    const std::string bypassOff = "3: 00 00 00 00";
    const std::string gain = "66 66 66 3F";
    // clang-format off
    const Row rows[] = {
        {"identifiers in text order, sizes as generated",
         [](auto&, auto& d) { d.RegisterPacket("0", 4, singleValue(d)); },
         {{"generate", 0, {"4: " + gain, bypassOff}}, {"generate", 0, {}},
          {"update MasterBypassID", 0, {}}, {"generate", 0, {"3: 01 00 00 00"}}}},
        {"a shared field goes once, filled by the first entry",
         [](auto&, auto& d) { d.RegisterPacket("0", 3, singleValue(d)); },
         {{"generate", 0, {"3: " + gain}}, {"update MasterBypassID", 0, {}}, {"generate", 0, {"3: " + gain}}}},
        {"one identifier on two fields",
         [](auto&, auto& d) { d.RegisterPacket("0", 4, singleValue(d)); d.RegisterPacket("0", 5, singleValue(d)); },
         {{"generate", 0, {"4: " + gain, "5: " + gain, bypassOff}}, {"update 0", 0, {}},
          {"generate", 0, {"4: 00 00 80 3F", "5: 00 00 80 3F"}}}},
        {"the first failing post is answered and retried",
         [](auto&, auto& d) { d.RegisterPacket("0", 4, singleValue(d)); },
         {{"generate", -5, {"4: " + gain, bypassOff}, {-5, 0}}, {"generate", 0, {"4: " + gain}},
          {"generate", 0, {}}}},
        {"a handler without a callback posts nothing, not even later",
         [](auto&, auto& d) { d.RegisterPacket("0", 7, Handler(&d, Handler::IdentifierCallback{})); },
         {{"generate", 0, {bypassOff}}, {"update 0", 0, {}}, {"generate", 0, {}}}},
        {"a negative field has no packet",
         [](auto&, auto& d) { d.RegisterPacket("0", -1, singleValue(d)); },
         {{"generate", 0, {bypassOff}}, {"update 0", 0, {}}, {"generate", 0, {}}}},
        {"a packet callback with 8 bytes",
         [](auto&, auto& d) { d.RegisterPacket("0", 9, AAX_CPacketHandler<DoubleWorker>(&gDoubleWorker, &DoubleWorker::fill)); },
         {{"generate", 0, {"9: 00 00 00 00 00 00 E0 3F", bypassOff}}}},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeHost fresh;
        OpenEffect open(fresh, row.registrations);
        for (const auto& step : row.steps)
        {
            SCOPED_TRACE(step.action);
            const auto before = fresh.postedPackets().size();
            fresh.answerPosts(step.postAnswers);
            const std::string action = step.action;
            const int32_t result =
                action == "generate"
                    ? effect::GenerateCoefficients::call(open.object)
                    : effect::UpdateParameterNormalizedValue::call(
                          open.object, action.substr(action.find(' ') + 1).c_str(), 1.0, 0);
            EXPECT_EQ(result, step.result);
            const auto posted = fresh.postedPackets();
            EXPECT_EQ(Strings(posted.begin() + static_cast<long>(before), posted.end()),
                      step.posted);
        }
    }
}

TEST(PacketMutex, OwnerPassesAndOnlyTheOwnerUnlocks)
{
    AAX_CMutex mutex;
    EXPECT_TRUE(mutex.Lock());
    EXPECT_FALSE(mutex.Lock()) << "the owner must pass without locking again";
    std::thread([&] { mutex.Unlock(); }).join();
    EXPECT_FALSE(mutex.Lock()) << "another thread released the owner's lock";
    mutex.Unlock();
    bool taken = false;
    std::thread(
        [&]
        {
            taken = mutex.Lock();
            mutex.Unlock();
        })
        .join();
    EXPECT_TRUE(taken);
}
} // namespace
