#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

class LoomcraftAudioProcessor;

/** One vertical level bar: the bottom part of the meter gradient, cut at the height of one of
    the processor's meter levels. It has no timer; the editor repaints it. Message thread only. */
class VuMeter : public juce::Component
{
public:
    /** index: which of the processor's eight meter levels to show (0-3 inputs, 4-7 outputs).
        The processor must outlive the meter. */
    VuMeter(LoomcraftAudioProcessor& processor, int index);
    ~VuMeter() override;

    void paint(juce::Graphics& g) override;
    void resized() override;

private:
    LoomcraftAudioProcessor& processor;
    juce::Image image;
    int index;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(VuMeter)
};
