#include "wrappers/common/ProcessorCreation.h"

#include "processor/PluginFactory.h"

namespace veridane::wrappers
{

std::unique_ptr<juce::AudioProcessor> createProcessorFor(juce::AudioProcessor::WrapperType type)
{
    // The processor learns which interface it serves from its base class's constructor.
    juce::AudioProcessor::setTypeOfNextNewPlugin(type);
    std::unique_ptr<juce::AudioProcessor> processor(createPluginFilter());
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
    return processor;
}

} // namespace veridane::wrappers
