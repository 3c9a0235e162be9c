#pragma once

#include "editor/AltLookAndFeel_transparentButton.h"
#include "editor/OptionGUI.h"
#include "editor/PanelStyle.h"
#include "editor/SharedDefaultLookAndFeel.h"
#include "editor/VuMeter.h"
#include "editor/WelcomeGUI.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <array>
#include <cstdint>
#include <memory>

class LoomcraftAudioProcessor;

/** The plug-in window: a fixed 443 x 233 picture with eight level meters, captions and channel
    orders of both sides, a gear button for the options panel and an invisible logo button for
    the about panel. A 50 ms timer repaints the meters and follows the processor's gain and
    direction. The gain knob lies below the window, so only the host sets the gain.
    Message thread only. */
class LoomcraftAudioProcessorEditor : public juce::AudioProcessorEditor,
                                      public juce::Timer,
                                      public juce::Button::Listener,
                                      public juce::Slider::Listener
{
public:
    /** The processor must outlive the editor. */
    explicit LoomcraftAudioProcessorEditor(LoomcraftAudioProcessor& processor);
    ~LoomcraftAudioProcessorEditor() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

    /** A drag of the gain knob is one gesture for the host. */
    void sliderDragStarted(juce::Slider* slider) override;
    void sliderDragEnded(juce::Slider* slider) override;
    /** Every 50 ms: repaints the meters and, after a change announced by the processor, sets the
        gain knob (without notifying anyone) and the direction images. */
    void timerCallback() override;
    /** The gear toggles the options panel, the logo area the about panel. */
    void buttonClicked(juce::Button* button) override;
    /** The gain knob sets the parameter and tells the host. */
    void sliderValueChanged(juce::Slider* slider) override;

    static constexpr int windowWidth = veridane::panel::windowWidth;
    static constexpr int windowHeight = veridane::panel::windowHeight;
    static constexpr int refreshIntervalMs = 50;

private:
    void loadModeImages(std::int32_t mode);
    VuMeter& meter(int index) const;
    std::unique_ptr<VuMeter> makeMeter(int index);

    LoomcraftAudioProcessor& loomcraftProcessor;

    std::unique_ptr<OptionGUI> optionPanel;
    std::unique_ptr<WelcomeGUI> aboutPanel;
    std::int32_t shownMode = 0;
    /** Shared by every open editor, so closing one leaves the others' look alone. */
    juce::SharedResourcePointer<SharedDefaultLookAndFeel> altLookAndFeel;
    AltLookAndFeel_transparentButton transparentLookAndFeel;
    std::unique_ptr<juce::ImageButton> gearButton;
    // Meters 0-5 and 6-7 are made before and after the knob and the logo button, which fixes
    // their stacking order.
    std::array<std::unique_ptr<VuMeter>, 6> firstMeters;
    std::unique_ptr<juce::Slider> gainSlider;
    std::unique_ptr<juce::TextButton> logoButton;
    std::array<std::unique_ptr<VuMeter>, 2> lastMeters;
    juce::Image backgroundImage;
    juce::Image inputOrderImage;
    juce::Image outputOrderImage;
    juce::Image inputNameImage;
    juce::Image outputNameImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(LoomcraftAudioProcessorEditor)
};
