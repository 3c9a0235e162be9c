#include "processor/StateBlock.h"

#include "processor/StateNumbers.h"
#include "processor/StateTextReader.h"

#include <cstring>

namespace veridane
{
namespace
{
constexpr int headerSize = 8;

juce::String gainText(float gainValue)
{
    return juce::String(gainValue);
}
} // namespace

juce::MemoryBlock writeStateBlock(float gainValue, std::int32_t direction)
{
    juce::XmlElement root(stateTags::root);
    root.createNewChildElement(stateTags::gain)->addTextElement(gainText(gainValue));
    root.createNewChildElement(stateTags::direction)->addTextElement(juce::String(direction));

    const auto text = root.toString(juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const auto textLength = text.getNumBytesAsUTF8();

    juce::MemoryOutputStream out;
    out.writeInt(std::int32_t(stateBlockMagic));
    out.writeInt(std::int32_t(textLength));
    out.write(text.toRawUTF8(), textLength);
    out.writeByte(0);
    return out.getMemoryBlock();
}

float gainReadBack(float gainValue)
{
    return leadingFloat(gainText(gainValue).toRawUTF8());
}

std::optional<SavedState> readStateBlock(const void* data, int sizeInBytes)
{
    if (data == nullptr || sizeInBytes <= headerSize)
        return std::nullopt;

    const auto* bytes = static_cast<const char*>(data);
    if (juce::ByteOrder::littleEndianInt(bytes) != stateBlockMagic)
        return std::nullopt;

    const auto declaredLength = std::int32_t(juce::ByteOrder::littleEndianInt(bytes + 4));
    if (declaredLength <= 0)
        return std::nullopt;

    // A length beyond the data means a truncated block: read only what is there. The text ends
    // at its first zero byte.
    const auto* const text = bytes + headerSize;
    const auto available = std::size_t(std::min(declaredLength, sizeInBytes - headerSize));
    const auto* const zero = static_cast<const char*>(std::memchr(text, 0, available));
    const auto reading = readStateText(
        std::string_view(text, zero != nullptr ? std::size_t(zero - text) : available));
    if (!reading.texts)
        return std::nullopt;

    SavedState state;
    if (reading.texts->gain)
        state.gainValue = leadingFloat(reading.texts->gain->c_str());
    if (reading.texts->direction)
        state.direction = leadingInteger(reading.texts->direction->c_str());
    return state;
}

} // namespace veridane
