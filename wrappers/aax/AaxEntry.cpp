// The plug-in's AAX entries that registration hands the host: the creation functions and the
// process procedure. The creation functions keep everything thrown on this side; the process
// procedure does nothing that throws.
#include "wrappers/aax/AaxEntry.h"

#include "wrappers/aax/VeridaneAaxEffect.h"
#include "wrappers/aax/VeridaneAaxGui.h"
#include "wrappers/common/ProcessorCreation.h"

#include <cstring>

namespace veridane::aax
{
namespace
{
/** The instance whose field-data reset filled the context's private data; null for a context
    without one. */
VeridaneAaxEffect* instanceOf(const AlgorithmContext* context) noexcept
{
    if (context == nullptr || context->privateData == nullptr)
        return nullptr;
    VeridaneAaxEffect* instance = nullptr;
    std::memcpy(&instance, context->privateData, sizeof instance);
    return instance;
}
} // namespace

IACFUnknown* createEffectParameters() noexcept
{
    try
    {
        auto processor = wrappers::createProcessorFor(juce::AudioProcessor::wrapperType_AAX);
        if (processor == nullptr)
            return nullptr;
        return static_cast<AAX_IACFEffectParameters_V2*>(
            new VeridaneAaxEffect(std::move(processor)));
    }
    catch (...)
    {
        return nullptr;
    }
}

IACFUnknown* createEffectGui() noexcept
{
    try
    {
        return static_cast<AAX_IACFEffectGUI*>(new VeridaneAaxGui);
    }
    catch (...)
    {
        return nullptr;
    }
}

void processContexts(AlgorithmContext* const* begin, AlgorithmContext* const* end) noexcept
{
    if (begin == nullptr || end == nullptr)
        return;
    for (auto* const* entry = begin; entry < end; ++entry)
    {
        const AlgorithmContext* const context = *entry;
        auto* const instance = instanceOf(context);
        if (instance == nullptr || context->bufferLength == nullptr)
            continue;
        const bool bypassed = context->bypassPort != nullptr && *context->bypassPort != 0;
        instance->process(context->inputs, context->outputs, *context->bufferLength, bypassed);
    }
}

} // namespace veridane::aax
