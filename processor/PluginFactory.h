#pragma once

namespace juce
{
class AudioProcessor;
}

/** Creates a new processor for one plug-in instance; the caller owns it. Answers null if the
    processor cannot be built (out of memory), so wrappers can refuse the instance cleanly. */
juce::AudioProcessor* createPluginFilter();
