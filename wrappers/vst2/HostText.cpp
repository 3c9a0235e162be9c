#include "wrappers/vst2/HostText.h"

#include <cstring>

namespace veridane::vst2
{
namespace
{
bool isContinuationByte(char byte) noexcept
{
    return (static_cast<unsigned char>(byte) & 0xC0) == 0x80;
}

/** Drops a last character whose bytes were cut off at length. */
std::size_t wholeCharacters(const char* text, std::size_t length) noexcept
{
    std::size_t start = length;
    while (start > 0 && length - start < 4 && isContinuationByte(text[start - 1]))
        --start;
    if (start == 0)
        return length;
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t following = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
    return following > length - start ? start - 1 : length;
}
} // namespace

void copyToHost(const juce::String& text, char* destination, std::size_t maxLength) noexcept
{
    if (destination == nullptr)
        return;

    const char* const utf8 = text.toRawUTF8();
    std::size_t length = std::strlen(utf8);
    if (length > maxLength)
    {
        length = maxLength;
        // Back off to the start of the character the cut would split.
        while (length > 0 && isContinuationByte(utf8[length]))
            --length;
    }
    std::memcpy(destination, utf8, length);
    destination[length] = 0;
}

juce::String readFromHost(const char* source, std::size_t maxLength)
{
    if (source == nullptr)
        return {};
    const auto length = static_cast<int>(wholeCharacters(source, ::strnlen(source, maxLength)));
    // Bytes that are not UTF-8 match nothing we answer to, and JUCE must not decode past them.
    if (!juce::CharPointer_UTF8::isValidString(source, length))
        return {};
    return juce::String::fromUTF8(source, length);
}

} // namespace veridane::vst2
