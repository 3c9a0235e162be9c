#include "tests/editor/EditorTestSupport.h"

namespace veridane::test
{
namespace
{
using AboutPanel = GuiTest;

const juce::Rectangle<int> linkArea{140, 172, 168, 22};
const juce::Rectangle<int> titleArea{134, 42, 175, 52};

// Never clicks the link: that would launch a browser.
TEST_F(AboutPanel, ClickAnywhereOnTheAboutPanelButTheLinkHidesIt)
{
    LoomcraftAudioProcessor processor;
    LoomcraftAudioProcessorEditor editor(processor);
    editor.setVisible(true); // as the host shows it
    auto* logo = findNamedAs<juce::Button>(editor, "new button");
    auto* panel = findChildOfType<WelcomeGUI>(editor);
    ASSERT_NE(nullptr, logo);
    ASSERT_NE(nullptr, panel);

    logo->triggerClick();
    ASSERT_TRUE(pumpUntil([panel] { return panel->isVisible(); }));

    // While shown, the panel covers the window: every point but the link lands on its close
    // button, the title and the editor's own controls included.
    auto* close = findNamedAs<juce::Button>(*panel, "closeButton");
    ASSERT_NE(nullptr, close);
    constexpr int step = 3;
    for (int y = 0; y < editor.getHeight(); y += step)
        for (int x = 0; x < editor.getWidth(); x += step)
        {
            auto* hit = editor.getComponentAt(x, y);
            if (linkArea.contains(x, y))
                ASSERT_TRUE(dynamic_cast<juce::HyperlinkButton*>(hit) != nullptr)
                    << "at " << x << ", " << y;
            else
                ASSERT_EQ(close, hit) << "at " << x << ", " << y;
        }

    ASSERT_EQ(close, editor.getComponentAt(titleArea.getCentre()));
    close->triggerClick();
    EXPECT_TRUE(pumpUntil([panel] { return !panel->isVisible(); }));
}

} // namespace
} // namespace veridane::test
