#include "FrameworkReading.h"

#include <juce_core/juce_core.h>

#include <algorithm>

namespace fuzzing
{
namespace
{
/** Well below what the parser's recursion needs to exhaust the fuzzer's stack. */
constexpr std::ptrdiff_t maxOpeningBrackets = 1000;

/** Strict UTF-8, written apart from the reader under test. */
bool isStrictUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();)
    {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        std::uint32_t c = lead;
        if (lead >= 0x80)
        {
            if (lead >= 0xc2 && lead < 0xe0)
                length = 2;
            else if (lead >= 0xe0 && lead < 0xf0)
                length = 3;
            else if (lead >= 0xf0 && lead < 0xf5)
                length = 4;
            else
                return false;
            if (i + length > text.size())
                return false;
            c = lead & (0x7fu >> length);
            for (std::size_t k = 1; k < length; ++k)
            {
                const auto next = static_cast<unsigned char>(text[i + k]);
                if ((next >> 6) != 2)
                    return false;
                c = (c << 6) | (next & 0x3fu);
            }
            const std::uint32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
            if (c < smallest[length] || c > 0x10ffff || (c >= 0xd800 && c < 0xe000))
                return false;
        }
        i += length;
    }
    return true;
}
} // namespace

std::optional<veridane::StateTexts> frameworkTexts(std::string_view text)
{
    const auto xml = juce::parseXML(juce::String::fromUTF8(text.data(), int(text.size())));
    if (xml == nullptr)
        return std::nullopt;

    veridane::StateTexts texts;
    for (const auto* child : xml->getChildIterator())
    {
        const auto& tag = child->getTagName();
        if (tag.equalsIgnoreCase(veridane::stateTags::gain))
            texts.gain = child->getAllSubText().toStdString();
        else if (tag.equalsIgnoreCase(veridane::stateTags::direction))
            texts.direction = child->getAllSubText().toStdString();
    }
    return texts;
}

float frameworkFloat(const std::string& text)
{
    return juce::String::fromUTF8(text.data(), int(text.size())).getFloatValue();
}

bool nestsShallowly(std::string_view text)
{
    return std::count(text.begin(), text.end(), '<') <= maxOpeningBrackets;
}

bool parserIsSafeOn(std::string_view text)
{
    return isStrictUtf8(text) && text.find('&') == std::string_view::npos &&
           text.find("<?") == std::string_view::npos && nestsShallowly(text);
}

bool floatConversionIsSafeOn(std::string_view text)
{
    std::size_t run = 0;
    for (std::size_t i = 0; i < text.size(); ++i)
    {
        run = (text[i] >= '0' && text[i] <= '9') ? run + 1 : 0;
        if (run >= 1000)
            return false;
        if (text[i] != 'e' && text[i] != 'E')
            continue;
        std::size_t k = i + 1;
        if (k < text.size() && (text[k] == '+' || text[k] == '-'))
            ++k;
        std::size_t digits = 0;
        while (k + digits < text.size() && text[k + digits] >= '0' && text[k + digits] <= '9')
            ++digits;
        if (digits >= 10)
            return false;
    }
    return true;
}

} // namespace fuzzing
