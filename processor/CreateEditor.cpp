#include "editor/LoomcraftAudioProcessorEditor.h"
#include "processor/LoomcraftAudioProcessor.h"

// The one place that sees both the processor and its editor.
juce::AudioProcessorEditor* LoomcraftAudioProcessor::createEditor()
{
    return new LoomcraftAudioProcessorEditor(*this);
}
