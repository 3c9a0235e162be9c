// The main of the Audio Unit test programs: every test must give back each CoreFoundation object
// it made, so the live-object count is the same after a test as before it.
#include "platform/CoreFoundation.h"

#include <gtest/gtest.h>

namespace
{
class LiveObjectCheck : public testing::EmptyTestEventListener
{
    void OnTestStart(const testing::TestInfo&) override
    {
        mLiveAtStart = VeridaneCFGetLiveObjectCount();
    }

    void OnTestEnd(const testing::TestInfo&) override
    {
        EXPECT_EQ(VeridaneCFGetLiveObjectCount(), mLiveAtStart)
            << "CoreFoundation objects left alive by this test";
    }

    CFIndex mLiveAtStart = 0;
};
} // namespace

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    testing::UnitTest::GetInstance()->listeners().Append(new LiveObjectCheck);
    return RUN_ALL_TESTS();
}
