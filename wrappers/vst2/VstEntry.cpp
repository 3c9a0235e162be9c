#include "wrappers/vst2/VstEntry.h"

#include "processor/PluginFactory.h"
#include "wrappers/vst2/VeridaneVstWrapper.h"

namespace veridane::vst2
{
namespace
{
std::unique_ptr<juce::AudioProcessor> createProcessor()
{
    // The processor learns which interface it serves from its base class's constructor.
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_VST);
    std::unique_ptr<juce::AudioProcessor> processor(createPluginFilter());
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
    return processor;
}
} // namespace

AEffect* createEffect(audioMasterCallback hostCallback) noexcept
{
    try
    {
        auto processor = createProcessor();
        if (processor == nullptr)
            return nullptr;
        auto* const effect = new VeridaneVstWrapper(hostCallback, std::move(processor));
        return effect->getAeffect();
    }
    catch (...)
    {
        return nullptr;
    }
}

} // namespace veridane::vst2
