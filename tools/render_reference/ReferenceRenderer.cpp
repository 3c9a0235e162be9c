#include "tools/render_reference/ReferenceRenderer.h"

#include "processor/PluginFactory.h"
#include "processor/StateBlock.h"

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <stdexcept>

namespace
{
constexpr int kChannels = 4;
} // namespace

ReferenceRenderer::ReferenceRenderer(double sampleRate, int maxBlock)
    : processor(createPluginFilter()), block(kChannels, maxBlock)
{
    if (processor == nullptr)
        throw std::runtime_error("the plug-in factory answered no processor");
    processor->setRateAndBufferSizeDetails(sampleRate, maxBlock);
    processor->prepareToPlay(sampleRate, maxBlock);
}

void ReferenceRenderer::setInitialState(const juce::String& gainText,
                                        const juce::String& directionText)
{
    if (gainText.isNotEmpty() || directionText.isNotEmpty())
        restore(gainText, directionText);
}

void ReferenceRenderer::restore(const juce::String& gainText, const juce::String& directionText)
{
    // The same bytes a host sends as the chunk: magic, length, text, a 0 byte.
    juce::String xml = "<Root>";
    if (gainText.isNotEmpty())
        xml << "<Gain>" << gainText << "</Gain>";
    if (directionText.isNotEmpty())
        xml << "<idxInputConfig>" << directionText << "</idxInputConfig>";
    xml << "</Root>";

    juce::MemoryOutputStream stream;
    stream.writeInt(int(veridane::stateBlockMagic));
    stream.writeInt(int(xml.getNumBytesAsUTF8()));
    stream.write(xml.toRawUTF8(), xml.getNumBytesAsUTF8());
    stream.writeByte(0);
    processor->setStateInformation(stream.getData(), int(stream.getDataSize()));
}

void ReferenceRenderer::apply(const Change& change)
{
    if (change.isGain)
    {
        // The host automates through setParameter with the number parsed the same way.
        JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
        processor->setParameter(0, float(std::strtod(change.value.toRawUTF8(), nullptr)));
        JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    }
    else
    {
        restore({}, change.value);
    }
}

juce::AudioBuffer<float> ReferenceRenderer::render(const juce::AudioBuffer<float>& input,
                                                   const std::vector<int>& blockLengths,
                                                   std::vector<Change> changes)
{
    std::stable_sort(changes.begin(), changes.end(),
                     [](const Change& a, const Change& b) { return a.frame < b.frame; });

    const int frames = input.getNumSamples();
    juce::AudioBuffer<float> output(kChannels, frames);
    size_t nextChange = 0;
    size_t nextLength = 0;
    for (int offset = 0; offset < frames;)
    {
        for (; nextChange < changes.size() && changes[nextChange].frame <= offset; ++nextChange)
            apply(changes[nextChange]);

        const int length = std::min(blockLengths[nextLength], frames - offset);
        nextLength = (nextLength + 1) % blockLengths.size();

        block.setSize(kChannels, length, false, false, true);
        for (int c = 0; c < kChannels; ++c)
            block.copyFrom(c, 0, input, c, offset, length);
        {
            const juce::ScopedLock lock(processor->getCallbackLock());
            std::optional<juce::ScopedNoDenormals> noDenormals;
            if (flushDenormals)
                noDenormals.emplace();
            if (bypassed)
                processor->processBlockBypassed(block, midi);
            else
                processor->processBlock(block, midi);
        }
        for (int c = 0; c < kChannels; ++c)
            output.copyFrom(c, offset, block, c, 0, length);
        offset += length;
    }
    return output;
}
