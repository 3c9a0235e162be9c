#pragma once

#include "editor/AltLookAndFeel_transparentButton.h"

#include <memory>

/** The about panel: the product name and version and a link to the maker's home page, over a
    full-size invisible button that hides the panel. It draws no background. Message thread only. */
class WelcomeGUI : public juce::Component, public juce::Button::Listener
{
public:
    /** The panel starts hidden; the editor shows it. */
    WelcomeGUI();
    ~WelcomeGUI() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    /** The full-size close button hides the panel; the link opens its page by itself. */
    void buttonClicked(juce::Button* button) override;

    static constexpr const char* titleText = "Veridane v1.0";
    static constexpr const char* webAddress = "www.plumbrook.example";
    static constexpr const char* homePageUrl = "https://www.plumbrook.example/";

private:
    AltLookAndFeel_transparentButton transparentLookAndFeel;
    std::unique_ptr<juce::Label> labelTitle;
    std::unique_ptr<juce::TextButton> closeButton;
    std::unique_ptr<juce::HyperlinkButton> hyperlinkButton;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(WelcomeGUI)
};
