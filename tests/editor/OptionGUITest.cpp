#include "tests/editor/EditorTestSupport.h"

#include <thread>

namespace veridane::test
{
namespace
{
constexpr int deliveryMs = 20;

/** The options panel on its own, with its combo box, after its first selection has arrived. */
class OptionPanelTest : public GuiTest
{
protected:
    void SetUp() override
    {
        panel = std::make_unique<OptionGUI>(processor);
        list = findNamedAs<juce::ComboBox>(*panel, "presetList");
        ASSERT_NE(nullptr, list);
        pump(deliveryMs);
    }

    /** A restore from the host's thread. */
    void restoreDirectionOnAnotherThread(std::int32_t direction)
    {
        std::thread host([this, direction] { processor.setConversionMode(direction); });
        host.join();
    }

    LoomcraftAudioProcessor processor;
    std::unique_ptr<OptionGUI> panel;
    juce::ComboBox* list = nullptr;
};

TEST_F(OptionPanelTest, FollowsADirectionChangedElsewhereEvenWhileHidden)
{
    EXPECT_EQ(100, panel->getTimerInterval());
    ASSERT_FALSE(panel->isVisible());
    EXPECT_EQ("FuMa  ->  ambiX", list->getText());

    processor.setConversionMode(1);
    EXPECT_TRUE(pumpUntil([this] { return list->getText() == "AmbiX ->  FuMa"; }));
    pump(deliveryMs);
    EXPECT_EQ(1, processor.idxInputConfig.load());
}

TEST_F(OptionPanelTest, StaleFollowedIndexDoesNotOverwriteANewerDirection)
{
    processor.setConversionMode(1);
    tick(*panel); // shows item 1; its change message is now on the way
    restoreDirectionOnAnotherThread(0);
    pump(deliveryMs);
    EXPECT_EQ(0, processor.idxInputConfig.load());

    tick(*panel); // the next tick shows the newer direction
    pump(deliveryMs);
    EXPECT_EQ("FuMa  ->  ambiX", list->getText());
    EXPECT_EQ(0, processor.idxInputConfig.load());
}

TEST_F(OptionPanelTest, OutOfRangeDirectionBecomesMinusOneOnceShownAsNoItem)
{
    processor.setConversionMode(7);
    tick(*panel);
    EXPECT_EQ(juce::String(), list->getText());
    pump(deliveryMs);
    EXPECT_EQ(-1, processor.idxInputConfig.load());
}

TEST_F(OptionPanelTest, UsersChoiceSurvivesATickBeforeItArrives)
{
    list->setSelectedId(list->getItemId(1)); // what the pop-up menu does
    tick(*panel);
    pump(deliveryMs);
    EXPECT_EQ(1, processor.idxInputConfig.load());
    EXPECT_EQ("AmbiX ->  FuMa", list->getText());
}

} // namespace
} // namespace veridane::test
