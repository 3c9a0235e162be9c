#include "processor/LoomcraftAudioProcessor.h"

// The fuzz targets never open an editor, so they are built without one.
juce::AudioProcessorEditor* LoomcraftAudioProcessor::createEditor()
{
    return nullptr;
}
