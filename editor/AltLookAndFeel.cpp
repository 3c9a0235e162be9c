#include "editor/AltLookAndFeel.h"

#include "editor/EmbeddedResources.h"

namespace
{
using juce::Colour;

// Highlights: a light cyan at three quarters opacity (alpha byte 191).
const Colour highlightColour = Colour(0xf65ec5da).withAlpha(0.75f);

constexpr float cornerSize = 4.0f;
constexpr float focusedSaturation = 1.3f;
constexpr float unfocusedSaturation = 0.9f;
constexpr float enabledAlpha = 0.9f;
constexpr float disabledAlpha = 0.5f;
constexpr float downContrast = 0.2f;
constexpr float overContrast = 0.1f;
constexpr float toggledFrameAlpha = 0.9f;

// Arrow corners as fractions of the combo box's button area. The upper tip is 0.45 - 0.2 in
// single precision (0.24999999), which lands the triangle a hair above a quarter.
constexpr float arrowTipUpper = 0.45f - 0.2f;
constexpr float arrowBaseUpper = 0.45f;
constexpr float arrowTipLower = 0.75f;
constexpr float arrowBaseLower = 0.55f;
constexpr float arrowLeft = 0.3f;
constexpr float arrowCentre = 0.5f;
constexpr float arrowRight = 0.7f;
constexpr float arrowAlpha = 0.7f;
} // namespace

AltLookAndFeel::AltLookAndFeel()
{
    using juce::ComboBox;
    namespace Colours = juce::Colours;
    using juce::TextButton;

    setColour(ComboBox::backgroundColourId, Colours::black);
    setColour(ComboBox::buttonColourId, Colours::black);
    setColour(ComboBox::outlineColourId, Colours::whitesmoke);
    setColour(ComboBox::arrowColourId, Colours::white);
    setColour(ComboBox::textColourId, Colours::white);
    setColour(juce::PopupMenu::highlightedBackgroundColourId, highlightColour);
    setColour(juce::TextEditor::focusedOutlineColourId, highlightColour);
    setColour(TextButton::buttonColourId, Colours::white);
    setColour(TextButton::buttonOnColourId, Colours::white);
    setColour(TextButton::textColourOnId, Colours::white);
    setColour(TextButton::textColourOffId, Colours::white);
}

AltLookAndFeel::~AltLookAndFeel() = default;

juce::Typeface::Ptr AltLookAndFeel::getTypefaceForFont(const juce::Font& font)
{
    if (font.getTypefaceName() == juce::Font::getDefaultSansSerifFontName())
    {
        const auto& roboto = veridane::resources::robotoRegularTtf;
        return juce::Typeface::createSystemTypefaceFor(roboto.data,
                                                       static_cast<size_t>(roboto.size));
    }
    return juce::LookAndFeel::getTypefaceForFont(font);
}

void AltLookAndFeel::drawButtonBackground(juce::Graphics& g, juce::Button& button,
                                          const juce::Colour& backgroundColour,
                                          bool isMouseOverButton, bool isButtonDown)
{
    auto baseColour =
        backgroundColour
            .withMultipliedSaturation(button.hasKeyboardFocus(true) ? focusedSaturation
                                                                    : unfocusedSaturation)
            .withMultipliedAlpha(button.isEnabled() ? enabledAlpha : disabledAlpha);

    if (isButtonDown || isMouseOverButton)
        baseColour = baseColour.contrasting(isButtonDown ? downContrast : overContrast);

    const float width = static_cast<float>(button.getWidth()) - 1.0f;
    const float height = static_cast<float>(button.getHeight()) - 1.0f;

    if (width > 0.0f && height > 0.0f)
    {
        const bool flatOnLeft = button.isConnectedOnLeft();
        const bool flatOnRight = button.isConnectedOnRight();
        const bool flatOnTop = button.isConnectedOnTop();
        const bool flatOnBottom = button.isConnectedOnBottom();

        juce::Path outline;
        outline.addRoundedRectangle(0.5f, 0.5f, width, height, cornerSize, cornerSize,
                                    !(flatOnLeft || flatOnTop), !(flatOnRight || flatOnTop),
                                    !(flatOnLeft || flatOnBottom), !(flatOnRight || flatOnBottom));

        const float brightness = baseColour.getBrightness();
        const float alpha = baseColour.getFloatAlpha();

        g.setGradientFill(juce::ColourGradient::vertical(baseColour.brighter(0.2f), 0.0f,
                                                         baseColour.darker(0.25f), height));
        g.fillPath(outline);

        g.setColour(juce::Colours::white.withAlpha(0.4f * alpha * brightness * brightness));
        g.strokePath(
            outline, juce::PathStrokeType(1.0f),
            juce::AffineTransform::translation(0.0f, 1.0f).scaled(1.0f, (height - 1.6f) / height));

        g.setColour(juce::Colours::white);
        g.strokePath(outline, juce::PathStrokeType(1.0f));
    }

    if (button.getToggleState())
    {
        g.setColour(juce::Colours::red.withAlpha(toggledFrameAlpha));
        g.drawRect(0, 0, button.getWidth(), button.getHeight(), 1);
    }
}

juce::Font AltLookAndFeel::getTextButtonFont(juce::TextButton&, int)
{
    return juce::Font(controlFontHeight, juce::Font::plain);
}

void AltLookAndFeel::drawComboBox(juce::Graphics& g, int width, int height, bool, int buttonX,
                                  int buttonY, int buttonW, int buttonH, juce::ComboBox& box)
{
    g.fillAll(box.findColour(juce::ComboBox::backgroundColourId));

    g.setColour(box.findColour(juce::ComboBox::outlineColourId));
    g.drawRect(0, 0, width, height);

    const auto bx = static_cast<float>(buttonX);
    const auto by = static_cast<float>(buttonY);
    const auto bw = static_cast<float>(buttonW);
    const auto bh = static_cast<float>(buttonH);

    juce::Path arrows;
    arrows.addTriangle(bx + bw * arrowCentre, by + bh * arrowTipUpper, bx + bw * arrowRight,
                       by + bh * arrowBaseUpper, bx + bw * arrowLeft, by + bh * arrowBaseUpper);
    arrows.addTriangle(bx + bw * arrowCentre, by + bh * arrowTipLower, bx + bw * arrowRight,
                       by + bh * arrowBaseLower, bx + bw * arrowLeft, by + bh * arrowBaseLower);

    g.setColour(box.findColour(juce::ComboBox::arrowColourId).withMultipliedAlpha(arrowAlpha));
    g.fillPath(arrows);
}

juce::Font AltLookAndFeel::getComboBoxFont(juce::ComboBox&)
{
    return juce::Font(controlFontHeight, juce::Font::plain);
}
