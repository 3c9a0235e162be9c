#include "tests/editor/EditorTestSupport.h"

#include "editor/AltLookAndFeel_transparentButton.h"

namespace veridane::test
{
namespace
{
using LookAndFeel = GuiTest;

constexpr int frameSize = 70;
constexpr int knobX = 45;

struct FrameRow
{
    float position;
    int frame;
};

const FrameRow frameTable[] = {{0.0f, 0}, {0.5f, 63}, {0.999f, 125}, {1.0f, 126}};

TEST_F(LookAndFeel, KnobShowsTheFilmstripFrameOfItsPosition)
{
    AltLookAndFeel_transparentButton lookAndFeel;
    juce::Slider slider;
    const auto filmstrip = decode(resources::knobFilmstripPng);

    for (const auto& row : frameTable)
    {
        SCOPED_TRACE(juce::String(row.position).toStdString());
        juce::Image drawn(juce::Image::ARGB, knobX + frameSize, frameSize, true);
        {
            juce::Graphics g(drawn);
            lookAndFeel.drawRotarySlider(g, 0, 0, frameSize, frameSize, row.position, 0.0f, 1.0f,
                                         slider);
        }
        const auto frame =
            filmstrip.getClippedImage({0, row.frame * frameSize, frameSize, frameSize});
        EXPECT_TRUE(regionEquals(drawn, {knobX, 0, frameSize, frameSize}, frame));
    }
}

bool robotoServesDefaultFontText()
{
    // Cleared first, so the answer comes from the current default look-and-feel rather than
    // from a typeface resolved earlier.
    juce::Typeface::clearTypefaceCache();
    const juce::Font defaultFont(15.0f, juce::Font::plain);
    return defaultFont.getTypefacePtr()->getName() == "Roboto" &&
           dynamic_cast<AltLookAndFeel*>(&juce::LookAndFeel::getDefaultLookAndFeel()) != nullptr;
}

TEST_F(LookAndFeel, DefaultFontTextUsesTheEmbeddedTypefaceOnlyWhileAnEditorIsOpen)
{
    LoomcraftAudioProcessor processor;
    // Resolved before any editor: the framework caches this answer by typeface name.
    juce::Font(15.0f).getTypefacePtr();
    {
        LoomcraftAudioProcessorEditor editor(processor);
        EXPECT_EQ("Roboto", juce::Font(15.0f).getTypefacePtr()->getName());
        EXPECT_TRUE(robotoServesDefaultFontText());
    }
    EXPECT_EQ(nullptr, dynamic_cast<AltLookAndFeel*>(&juce::LookAndFeel::getDefaultLookAndFeel()));
}

// The combo box of the options panel as drawn: black inside, a whitesmoke one-pixel outline,
// and the arrows in the narrow button area at the right end that our layout leaves them
// (x 104-118 of 119), not in a wider one.
::testing::AssertionResult drawsOurComboBox(LoomcraftAudioProcessorEditor& editor)
{
    auto* box = findNamedAs<juce::ComboBox>(editor, "presetList");
    if (box == nullptr)
        return ::testing::AssertionFailure() << "no combo box";
    const auto image = snapshot(*box);
    const auto outline = image.getPixelAt(0, box->getHeight() / 2);
    const auto inside = image.getPixelAt(2, 2);
    const auto upperArrow = image.getPixelAt(111, 7);
    const auto leftOfArrows = image.getPixelAt(104, 7);
    if (outline != juce::Colours::whitesmoke || inside != juce::Colours::black ||
        upperArrow.getBrightness() < 0.5f || leftOfArrows != juce::Colours::black)
        return ::testing::AssertionFailure()
               << "outline " << outline.toDisplayString(true) << ", inside "
               << inside.toDisplayString(true) << ", arrow " << upperArrow.toDisplayString(true)
               << ", left of it " << leftOfArrows.toDisplayString(true);
    return ::testing::AssertionSuccess();
}

TEST_F(LookAndFeel, ClosingOneEditorLeavesTheOtherItsLook)
{
    for (const bool closeLaterOne : {true, false})
    {
        SCOPED_TRACE(closeLaterOne ? "close the editor opened later"
                                   : "close the editor opened first");
        LoomcraftAudioProcessor firstProcessor, secondProcessor;
        auto first = std::make_unique<LoomcraftAudioProcessorEditor>(firstProcessor);
        auto second = std::make_unique<LoomcraftAudioProcessorEditor>(secondProcessor);

        (closeLaterOne ? second : first).reset();
        auto& remaining = closeLaterOne ? *first : *second;

        EXPECT_TRUE(drawsOurComboBox(remaining));
        EXPECT_TRUE(robotoServesDefaultFontText());
    }
}

} // namespace
} // namespace veridane::test
