#include "tests/editor/EditorTestSupport.h"

#include <string>
#include <utility>

namespace veridane::test
{
namespace
{
using EditorWindow = GuiTest;

const juce::Rectangle<int> inputOrderArea{49, 212, 69, 9};
const juce::Rectangle<int> outputOrderArea{324, 212, 69, 9};
const juce::Rectangle<int> inputCaptionArea{88, 38, 37, 14};
const juce::Rectangle<int> outputCaptionArea{364, 38, 37, 14};

/** Whether the window shows the strips and captions of one direction: the order strips on
    their black patches, the captions over the artwork. */
::testing::AssertionResult showsDirection(juce::Component& editor, bool ambixIn)
{
    const auto window = snapshot(editor);
    const auto background = decode(resources::backgroundPng);
    const auto fumaOrder = decode(resources::orderFumaPng);
    const auto ambixOrder = decode(resources::orderAmbixPng);
    const auto fumaCaption = decode(resources::captionFumaPng);
    const auto ambixCaption = decode(resources::captionAmbixPng);

    auto onBlack = [](const juce::Image& strip)
    { return composite(blackImage(strip.getWidth(), strip.getHeight()), strip); };
    auto onArtwork = [&](const juce::Image& caption, juce::Rectangle<int> area)
    { return composite(background.getClippedImage(area), caption); };

    const struct
    {
        const char* what;
        juce::Rectangle<int> area;
        juce::Image expected;
    } places[] = {
        {"input order", inputOrderArea, onBlack(ambixIn ? ambixOrder : fumaOrder)},
        {"output order", outputOrderArea, onBlack(ambixIn ? fumaOrder : ambixOrder)},
        {"input caption", inputCaptionArea,
         onArtwork(ambixIn ? ambixCaption : fumaCaption, inputCaptionArea)},
        {"output caption", outputCaptionArea,
         onArtwork(ambixIn ? fumaCaption : ambixCaption, outputCaptionArea)},
    };
    for (const auto& place : places)
        if (auto result = regionEquals(window, place.area, place.expected); !result)
            return result << " (" << place.what << ")";
    return ::testing::AssertionSuccess();
}

struct DirectionRow
{
    std::int32_t direction;
    bool ambixIn;
};

// Only 1 converts ambiX to FuMa; every other index shows FuMa to ambiX.
const DirectionRow directionTable[] = {{1, true}, {0, false}, {7, false}, {1, true}, {-1, false}};

void restoreDirection(LoomcraftAudioProcessor& processor, std::int32_t direction)
{
    LoomcraftAudioProcessor saved;
    saved.setConversionMode(direction);
    juce::MemoryBlock state;
    saved.getStateInformation(state);
    processor.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
}

TEST_F(EditorWindow, OpensAtTheArtworksSizeShowingTheCurrentDirection)
{
    for (const bool ambixIn : {true, false})
    {
        SCOPED_TRACE(ambixIn);
        LoomcraftAudioProcessor processor;
        processor.setConversionMode(ambixIn ? 1 : 0);
        LoomcraftAudioProcessorEditor editor(processor);
        EXPECT_EQ(juce::Rectangle<int>(0, 0, 443, 233), editor.getBounds());
        EXPECT_TRUE(showsDirection(editor, ambixIn));
    }
}

TEST_F(EditorWindow, DirectionImagesFollowSetConversionModeAndRestoredStates)
{
    const std::pair<const char*, void (*)(LoomcraftAudioProcessor&, std::int32_t)> routes[] = {
        {"setConversionMode",
         [](LoomcraftAudioProcessor& p, std::int32_t d) { p.setConversionMode(d); }},
        {"state restore", restoreDirection}};

    for (const auto& [route, changeDirection] : routes)
    {
        LoomcraftAudioProcessor processor;
        LoomcraftAudioProcessorEditor editor(processor);
        for (const auto& row : directionTable)
        {
            SCOPED_TRACE(std::string(route) + " to " + std::to_string(row.direction));
            changeDirection(processor, row.direction);
            tick(editor);
            EXPECT_TRUE(showsDirection(editor, row.ambixIn));
        }
    }
}

/** Counts what the processor tells its listeners (the host, in a plug-in). */
struct HostListener : juce::AudioProcessorListener
{
    void audioProcessorParameterChanged(juce::AudioProcessor*, int, float) override
    {
        ++parameterChanges;
    }
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails&) override {}

    int parameterChanges = 0;
};

TEST_F(EditorWindow, HostGainChangeShowsOnTheKnobWithoutGoingBackToTheHost)
{
    LoomcraftAudioProcessor processor;
    HostListener host;
    processor.addListener(&host);
    {
        LoomcraftAudioProcessorEditor editor(processor);
        auto* knob = findNamedAs<juce::Slider>(editor, "sliderGain");
        ASSERT_NE(nullptr, knob);
        EXPECT_EQ(50, editor.getTimerInterval());

        processor.setParameter(0, 0.5f); // the host's automation: -40 dB
        tick(editor);
        EXPECT_EQ(-40.0, knob->getValue());

        processor.setParameter(0, 1.0f); // the real timer this time
        EXPECT_TRUE(pumpUntil([knob] { return knob->getValue() == 10.0; }));
    }
    processor.removeListener(&host);
    EXPECT_EQ(0, host.parameterChanges);
}

/** A processor whose host changes the gain just as the editor has read it. */
class RacingProcessor : public LoomcraftAudioProcessor
{
public:
    float getParameter(int index) override
    {
        const float seen = LoomcraftAudioProcessor::getParameter(index);
        if (std::exchange(raceOnNextRead, false))
            setParameter(0, racingValue);
        return seen;
    }

    bool raceOnNextRead = false;
    static constexpr float racingValue = 0.5f;
};

TEST_F(EditorWindow, GainChangeDuringATickIsShownOnTheNextTick)
{
    RacingProcessor processor;
    LoomcraftAudioProcessorEditor editor(processor);
    auto* knob = findNamedAs<juce::Slider>(editor, "sliderGain");
    ASSERT_NE(nullptr, knob);
    tick(editor);
    ASSERT_EQ(0.0, knob->getValue());

    processor.setParameter(0, 0.2f);
    processor.raceOnNextRead = true;
    tick(editor);
    EXPECT_EQ(-70.0, knob->getValue());
    tick(editor);
    EXPECT_EQ(-40.0, knob->getValue());
}

TEST_F(EditorWindow, GearTogglesTheOptionsPanelWhoseComboBoxSetsTheDirection)
{
    LoomcraftAudioProcessor processor;
    LoomcraftAudioProcessorEditor editor(processor);
    auto* gear = findNamedAs<juce::Button>(editor, "engrenage");
    auto* panel = findChildOfType<OptionGUI>(editor);
    ASSERT_NE(nullptr, gear);
    ASSERT_NE(nullptr, panel);
    EXPECT_FALSE(panel->isVisible());

    gear->triggerClick();
    ASSERT_TRUE(pumpUntil([panel] { return panel->isVisible(); }));

    // What the pop-up menu does when the user picks the second item.
    auto* list = findNamedAs<juce::ComboBox>(*panel, "presetList");
    ASSERT_NE(nullptr, list);
    ASSERT_EQ("AmbiX ->  FuMa", list->getItemText(1));
    list->setSelectedId(list->getItemId(1));
    EXPECT_TRUE(pumpUntil([&processor] { return processor.idxInputConfig.load() == 1; }));
    tick(editor);
    EXPECT_TRUE(showsDirection(editor, true));

    gear->triggerClick();
    EXPECT_TRUE(pumpUntil([panel] { return !panel->isVisible(); }));
}

} // namespace
} // namespace veridane::test
