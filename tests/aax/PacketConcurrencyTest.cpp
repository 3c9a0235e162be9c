#include "tests/aax/EffectTestSupport.h"

#include <thread>

namespace
{
// The host updates the bypass on one thread while it asks for coefficients on another. Once
// both stop, one more request leaves the algorithm holding the parameter's final value: no
// update is lost between the parameter, its dirty mark and the post.
TEST(PacketConcurrency, BypassUpdatesAndCoefficientsOnTwoThreads)
{
    constexpr int kRounds = 20000;
    fakeaax::FakeHost host;
    {
        OpenEffect open(host);
        std::atomic<bool> go{false};
        auto waitForGo = [&]
        {
            while (!go.load(std::memory_order_acquire))
            {
            }
        };
        std::thread updating(
            [&]
            {
                waitForGo();
                for (int i = 0; i < kRounds; ++i)
                    effect::UpdateParameterNormalizedValue::call(open.object, kAAX_MasterBypassID,
                                                                 i % 3 == 0 ? 1.0 : 0.0, 0);
            });
        std::thread generating(
            [&]
            {
                waitForGo();
                for (int i = 0; i < kRounds; ++i)
                    effect::GenerateCoefficients::call(open.object);
            });
        go.store(true, std::memory_order_release);
        updating.join();
        generating.join();

        EXPECT_EQ(effect::GenerateCoefficients::call(open.object), 0);
        const bool on = open.effect->valueOf(kAAX_MasterBypassID) == "1";
        EXPECT_EQ(host.postedPackets().back(), on ? "3: 01 00 00 00" : "3: 00 00 00 00");
        EXPECT_GT(host.postedPackets().size(), 1u);
    }
    EXPECT_EQ(host.unbalanced(), std::vector<std::string>{});
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), 0u);
}
} // namespace
