// Parameters, programs and the processor's reports of its own changes. The processor serves them
// through JUCE's index-based (deprecated) interface, which is the one it implements.
#include "wrappers/vst2/VeridaneVstWrapper.h"

#include "wrappers/vst2/HostText.h"

#include <charconv>
#include <cmath>
#include <optional>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace veridane::vst2
{
namespace
{
/** The number a host typed, in C notation whatever the locale; nothing for any other text. */
std::optional<float> parseNumber(const juce::String& text)
{
    auto trimmed = text.trim();
    if (trimmed.startsWithChar('+'))
        trimmed = trimmed.substring(1);
    const auto utf8 = trimmed.toStdString();
    float value = 0.0f;
    const auto* const end = utf8.data() + utf8.size();
    const auto [stop, error] = std::from_chars(utf8.data(), end, value);
    if (error != std::errc() || stop != end || utf8.empty() || !std::isfinite(value))
        return std::nullopt;
    return value;
}
} // namespace

bool VeridaneVstWrapper::isParameterIndex(int32_t index) const noexcept
{
    return index >= 0 && index < numParams;
}

void VeridaneVstWrapper::setParameter(int32_t index, float value)
{
    // Straight to the processor: the host already knows, so no listener hears of it.
    if (isParameterIndex(index))
        processor->setParameter(index, value);
}

float VeridaneVstWrapper::getParameter(int32_t index)
{
    return isParameterIndex(index) ? processor->getParameter(index) : 0.0f;
}

void VeridaneVstWrapper::getParameterName(int32_t index, char* text)
{
    copyToHost(isParameterIndex(index) ? processor->getParameterName(index) : juce::String(), text,
               hostTextLength::parameterText);
}

void VeridaneVstWrapper::getParameterLabel(int32_t index, char* label)
{
    copyToHost(isParameterIndex(index) ? processor->getParameterLabel(index) : juce::String(),
               label, hostTextLength::parameterText);
}

void VeridaneVstWrapper::getParameterDisplay(int32_t index, char* text)
{
    copyToHost(isParameterIndex(index) ? processor->getParameterText(index) : juce::String(), text,
               hostTextLength::parameterText);
}

bool VeridaneVstWrapper::canParameterBeAutomated(int32_t index)
{
    return isParameterIndex(index) && processor->isParameterAutomatable(index);
}

bool VeridaneVstWrapper::string2parameter(int32_t index, char* text)
{
    if (!isParameterIndex(index) || text == nullptr)
        return false;
    const auto value = parseNumber(readFromHost(text));
    if (!value)
        return false;
    processor->setParameter(index, *value);
    return true;
}

//==================================================================================================
int32_t VeridaneVstWrapper::getProgram()
{
    return processor->getCurrentProgram();
}

void VeridaneVstWrapper::setProgram(int32_t program)
{
    if (program >= 0 && program < numPrograms)
        processor->setCurrentProgram(program);
}

void VeridaneVstWrapper::setProgramName(char* name)
{
    if (name != nullptr)
        processor->changeProgramName(processor->getCurrentProgram(),
                                     readFromHost(name, hostTextLength::programName));
}

void VeridaneVstWrapper::getProgramName(char* name)
{
    copyToHost(processor->getProgramName(processor->getCurrentProgram()), name,
               hostTextLength::programName);
}

bool VeridaneVstWrapper::getProgramNameIndexed(int32_t, int32_t index, char* text)
{
    if (text == nullptr || index < 0 || index >= numPrograms)
        return false;
    copyToHost(processor->getProgramName(index), text, hostTextLength::programName);
    return true;
}

//==================================================================================================
void VeridaneVstWrapper::audioProcessorParameterChanged(juce::AudioProcessor*, int index,
                                                        float value)
{
    // Only the host hears it: setParameterAutomated would set the processor a second time.
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void VeridaneVstWrapper::audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails& details)
{
    if (details.latencyChanged)
    {
        setInitialDelay(processor->getLatencySamples());
        ioChanged();
    }
    if (details.parameterInfoChanged || details.programChanged)
        updateDisplay();
}

void VeridaneVstWrapper::audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index)
{
    beginEdit(index);
}

void VeridaneVstWrapper::audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index)
{
    endEdit(index);
}

} // namespace veridane::vst2

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
