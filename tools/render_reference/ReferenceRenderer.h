#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <vector>

/** One processor driven directly, the way a host wrapper drives it: every block is copied into a
    buffer of its own length and processed there, so glides settle at the same block starts as
    under a host with the same partition. */
class ReferenceRenderer
{
public:
    /** A setting applied before the first block that starts at or after frame. */
    struct Change
    {
        juce::int64 frame;
        bool isGain; ///< otherwise the direction
        juce::String value;
    };

    ReferenceRenderer(double sampleRate, int maxBlock);

    /** Restores the state block a host would send for these settings (either may be empty). */
    void setInitialState(const juce::String& gainText, const juce::String& directionText);
    void setBypassed(bool shouldBypass) { bypassed = shouldBypass; }
    /** Processes with flush-to-zero and denormals-are-zero set, as a host interface that sets
        them around its render call does. */
    void setFlushDenormals(bool shouldFlush) { flushDenormals = shouldFlush; }

    /** Renders input into a new buffer of the same size, cut into blocks of the lengths given,
        used in turn. */
    juce::AudioBuffer<float> render(const juce::AudioBuffer<float>& input,
                                    const std::vector<int>& blockLengths,
                                    std::vector<Change> changes);

private:
    void apply(const Change& change);
    void restore(const juce::String& gainText, const juce::String& directionText);

    std::unique_ptr<juce::AudioProcessor> processor;
    juce::AudioBuffer<float> block;
    juce::MidiBuffer midi;
    bool bypassed = false;
    bool flushDenormals = false;
};
