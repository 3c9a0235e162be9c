#include "wrappers/vst2/VstEntry.h"

#include "wrappers/common/ProcessorCreation.h"
#include "wrappers/vst2/VeridaneVstWrapper.h"

namespace veridane::vst2
{

AEffect* createEffect(audioMasterCallback hostCallback) noexcept
{
    try
    {
        auto processor = wrappers::createProcessorFor(juce::AudioProcessor::wrapperType_VST);
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
