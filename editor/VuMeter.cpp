#include "editor/VuMeter.h"

#include "editor/EmbeddedResources.h"
#include "processor/LoomcraftAudioProcessor.h"

namespace
{
// A placeholder size; the editor sets the real bounds.
constexpr int initialWidth = 4;
constexpr int initialHeight = 35;
} // namespace

VuMeter::VuMeter(LoomcraftAudioProcessor& processorToShow, int meterIndex)
    : processor(processorToShow), index(meterIndex)
{
    jassert(index >= 0 && index < LoomcraftAudioProcessor::numMeters);
    setSize(initialWidth, initialHeight);
    const auto& gradient = veridane::resources::meterGradientPng;
    image = juce::ImageCache::getFromMemory(gradient.data, gradient.size);
}

VuMeter::~VuMeter() = default;

void VuMeter::paint(juce::Graphics& g)
{
    if (index < 0 || index >= LoomcraftAudioProcessor::numMeters)
        return;

    const float level =
        processor.meterLevels[static_cast<size_t>(index)].load(std::memory_order_relaxed);
    const auto height = static_cast<float>(getHeight());
    const auto imageHeight = static_cast<float>(image.getHeight());

    // Products in single precision, truncated: the colour at a height always belongs to it.
    const int destY = static_cast<int>((1.0f - level) * height);
    const int destHeight = static_cast<int>(height * level);
    const int sourceY = static_cast<int>(imageHeight * (1.0f - level));
    const int sourceHeight = static_cast<int>(imageHeight * level);

    g.drawImage(image, 0, destY, getWidth(), destHeight, 0, sourceY, image.getWidth(), sourceHeight,
                false);
}

void VuMeter::resized() {}
