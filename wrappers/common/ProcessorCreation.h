#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace veridane::wrappers
{

/** A new processor for one instance, told through its base class which interface it serves;
    null when it cannot be built. Instances of one interface are created one at a time. */
std::unique_ptr<juce::AudioProcessor> createProcessorFor(juce::AudioProcessor::WrapperType type);

} // namespace veridane::wrappers
