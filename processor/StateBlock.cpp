#include "processor/StateBlock.h"

namespace veridane
{
namespace
{
constexpr const char* rootTag = "Root";
constexpr const char* gainTag = "Gain";
constexpr const char* directionTag = "idxInputConfig";
constexpr int headerSize = 8;
} // namespace

juce::MemoryBlock writeStateBlock(float gainValue, std::int32_t direction)
{
    juce::XmlElement root(rootTag);
    root.createNewChildElement(gainTag)->addTextElement(juce::String(gainValue));
    root.createNewChildElement(directionTag)->addTextElement(juce::String(direction));

    const auto text = root.toString(juce::XmlElement::TextFormat().singleLine().withoutHeader());
    const auto textLength = text.getNumBytesAsUTF8();

    juce::MemoryOutputStream out;
    out.writeInt(std::int32_t(stateBlockMagic));
    out.writeInt(std::int32_t(textLength));
    out.write(text.toRawUTF8(), textLength);
    out.writeByte(0);
    return out.getMemoryBlock();
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

    // A length beyond the data means a truncated block: read only what is there.
    const int textLength = std::min(declaredLength, sizeInBytes - headerSize);
    const auto xml = juce::parseXML(juce::String::fromUTF8(bytes + headerSize, textLength));
    if (xml == nullptr)
        return std::nullopt;

    SavedState state;
    for (const auto* child : xml->getChildIterator())
    {
        const auto& tag = child->getTagName();
        if (tag.equalsIgnoreCase(gainTag))
            state.gainValue = child->getAllSubText().getFloatValue();
        else if (tag.equalsIgnoreCase(directionTag))
            state.direction = leadingInteger(child->getAllSubText());
    }
    return state;
}

std::int32_t leadingInteger(const juce::String& text) noexcept
{
    auto p = text.getCharPointer().findEndOfWhitespace();
    const bool negative = *p == '-';
    if (negative || *p == '+')
        ++p;

    std::uint32_t magnitude = 0;
    for (auto c = *p; c >= '0' && c <= '9'; c = *++p)
        magnitude = magnitude * 10u + std::uint32_t(c - '0');

    return std::int32_t(negative ? 0u - magnitude : magnitude);
}

} // namespace veridane
