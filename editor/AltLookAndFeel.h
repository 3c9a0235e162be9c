#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

/** The window's look: black combo boxes with a whitesmoke outline, white text buttons, and the
    embedded Roboto face for every text in the default sans-serif font.

    It only serves Roboto while it is the default look-and-feel, because the framework resolves
    typefaces through the default one alone (see SharedDefaultLookAndFeel). Message thread only. */
class AltLookAndFeel : public juce::LookAndFeel_V3
{
public:
    AltLookAndFeel();
    ~AltLookAndFeel() override;

    /** A fresh Roboto typeface for the default sans-serif name (whatever the style); the base
        answer for any other name. The framework's typeface cache keeps the answers. */
    juce::Typeface::Ptr getTypefaceForFont(const juce::Font& font) override;

    /** The version-3 body with an opaque white outline, and a red frame while toggled on. */
    void drawButtonBackground(juce::Graphics& g, juce::Button& button,
                              const juce::Colour& backgroundColour, bool isMouseOverButton,
                              bool isButtonDown) override;

    juce::Font getTextButtonFont(juce::TextButton& button, int buttonHeight) override;

    /** A flat box with two arrow triangles; pressed, focused and disabled boxes look the same. */
    void drawComboBox(juce::Graphics& g, int width, int height, bool isButtonDown, int buttonX,
                      int buttonY, int buttonW, int buttonH, juce::ComboBox& box) override;

    juce::Font getComboBoxFont(juce::ComboBox& box) override;

    /** Height of the text of text buttons and combo boxes. */
    static constexpr float controlFontHeight = 14.0f;

private:
    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(AltLookAndFeel)
};
