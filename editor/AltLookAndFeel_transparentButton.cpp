#include "editor/AltLookAndFeel_transparentButton.h"

#include "editor/EmbeddedResources.h"

#include <cmath>

namespace
{
constexpr int knobX = 45;
const juce::Rectangle<int> knobBounds{50, 0, 70, 70};
const juce::Rectangle<int> textBoxBounds{2, 37, 41, 15};
} // namespace

AltLookAndFeel_transparentButton::AltLookAndFeel_transparentButton() = default;
AltLookAndFeel_transparentButton::~AltLookAndFeel_transparentButton() = default;

void AltLookAndFeel_transparentButton::drawButtonBackground(juce::Graphics&, juce::Button&,
                                                            const juce::Colour&, bool, bool)
{
}

void AltLookAndFeel_transparentButton::drawRotarySlider(juce::Graphics& g, int, int, int width, int,
                                                        float sliderPos, float, float,
                                                        juce::Slider&)
{
    // The image cache decodes the filmstrip once; each paint copies one frame.
    const auto& film = veridane::resources::knobFilmstripPng;
    const auto filmstrip = juce::ImageCache::getFromMemory(film.data, film.size);

    const float frame = std::floor(sliderPos * lastKnobFrame);
    const int sourceY = static_cast<int>(static_cast<double>(frame) * knobFrameSize);
    g.drawImage(filmstrip, knobX, 0, width, knobFrameSize, 0, sourceY, knobFrameSize, knobFrameSize,
                false);
}

juce::Slider::SliderLayout AltLookAndFeel_transparentButton::getSliderLayout(juce::Slider&)
{
    juce::Slider::SliderLayout layout;
    layout.sliderBounds = knobBounds;
    layout.textBoxBounds = textBoxBounds;
    return layout;
}
