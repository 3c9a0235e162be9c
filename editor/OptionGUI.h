#pragma once

#include "editor/AltLookAndFeel_transparentButton.h"

#include <cstdint>
#include <memory>
#include <optional>

class LoomcraftAudioProcessor;

/** The options panel: a black square with a "MODE" caption and a combo box of the two conversion
    directions, over a full-size invisible button that hides the panel.

    The combo box reports changes asynchronously; each reported change sets the processor's
    direction. A 100 ms timer, running whether the panel is shown or not, keeps the combo box in
    line with a direction changed elsewhere (a restored state). Message thread only. */
class OptionGUI : public juce::Component,
                  public juce::Timer,
                  public juce::Button::Listener,
                  public juce::ComboBox::Listener
{
public:
    /** The processor must outlive the panel. The panel starts hidden; the editor shows it. */
    explicit OptionGUI(LoomcraftAudioProcessor& processor);
    ~OptionGUI() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    /** Every 100 ms: shows the processor's direction in the combo box, unless the user's choice
        is still on its way. */
    void timerCallback() override;
    /** The full-size close button hides the panel. */
    void buttonClicked(juce::Button* button) override;
    /** Sets the processor's direction to the item shown (-1 when none is). */
    void comboBoxChanged(juce::ComboBox* comboBox) override;

    /** Period of the timer that follows the processor's direction. */
    static constexpr int syncIntervalMs = 100;

private:
    /** Shows the processor's direction; the resulting change message comes back later. */
    void followProcessorDirection();

    LoomcraftAudioProcessor& processor;
    AltLookAndFeel_transparentButton transparentLookAndFeel;
    std::unique_ptr<juce::TextButton> closeButton;
    std::unique_ptr<juce::Label> labelArea;
    std::unique_ptr<juce::ComboBox> presetList;
    std::unique_ptr<juce::Label> labelMode;

    /** The direction that the panel's own selection showed, while its change message is on the
        way: by the time it arrives the direction may have changed again elsewhere. */
    std::optional<std::int32_t> pendingFollowedDirection;
    /** The item index the combo box showed after the last selection the panel made or heard of;
        any other index means the user's choice is still on the way. */
    int knownItemIndex = -1;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(OptionGUI)
};
