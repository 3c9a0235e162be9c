#pragma once

#include "editor/AltLookAndFeel.h"

/** Set on single controls: buttons draw no body (invisible click areas), and a rotary slider is
    one frame of the knob filmstrip at a fixed place. Message thread only. */
class AltLookAndFeel_transparentButton : public AltLookAndFeel
{
public:
    AltLookAndFeel_transparentButton();
    ~AltLookAndFeel_transparentButton() override;

    /** Draws nothing; buttons using this look-and-feel are given empty text. */
    void drawButtonBackground(juce::Graphics& g, juce::Button& button,
                              const juce::Colour& backgroundColour, bool isMouseOverButton,
                              bool isButtonDown) override;

    /** Frame floor(sliderPos x 126) of the filmstrip, at x 45 of the slider, width as given,
        70 high. Position, height, angles and the slider itself are not looked at. */
    void drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                          float rotaryStartAngle, float rotaryEndAngle,
                          juce::Slider& slider) override;

    /** Knob at (50, 0, 70, 70), text box at (2, 37, 41, 15), whatever the slider asks for. */
    juce::Slider::SliderLayout getSliderLayout(juce::Slider& slider) override;

    /** The filmstrip: frames of 70 x 70 stacked top to bottom, 0 the minimum. */
    static constexpr int knobFrameSize = 70;
    static constexpr float lastKnobFrame = 126.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(AltLookAndFeel_transparentButton)
};
