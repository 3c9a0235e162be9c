#include "processor/StateTextReader.h"

#include <juce_core/juce_core.h>

#include <algorithm>
#include <array>
#include <cstdint>

namespace veridane
{
namespace
{
using Byte = unsigned char;

bool isUnicodeScalar(std::uint64_t c) noexcept
{
    return c <= 0x10ffff && !(c >= 0xd800 && c <= 0xdfff);
}

/** Length of the UTF-8 sequence at p, its character in c; 0 when the bytes are not UTF-8
    (overlong forms, surrogates, values past U+10FFFF and sequences cut off by end included). */
int decode(const Byte* p, const Byte* end, char32_t& c) noexcept
{
    constexpr char32_t smallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const Byte lead = *p;
    const int length = lead < 0x80   ? 1
                       : lead < 0xc2 ? 0
                       : lead < 0xe0 ? 2
                       : lead < 0xf0 ? 3
                       : lead < 0xf5 ? 4
                                     : 0;
    if (length == 0 || end - p < length)
        return 0;
    c = length == 1 ? lead : lead & (0x7fu >> length);
    for (int i = 1; i < length; ++i)
    {
        if ((p[i] & 0xc0) != 0x80)
            return 0;
        c = (c << 6) | (p[i] & 0x3fu);
    }
    return c >= smallest[length] && isUnicodeScalar(c) ? length : 0;
}

bool isValidUtf8(const Byte* p, const Byte* end) noexcept
{
    for (char32_t c = 0; p < end;)
    {
        const int length = decode(p, end, c);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}

void appendUtf8(std::string& text, char32_t c)
{
    if (c < 0x80)
    {
        text += char(c);
        return;
    }
    const int extraBytes = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    text += char(((0xffu << (7 - extraBytes)) & 0xffu) | (c >> (6 * extraBytes)));
    for (int shift = 6 * (extraBytes - 1); shift >= 0; shift -= 6)
        text += char(0x80u | ((c >> shift) & 0x3fu));
}

// The framework's character classes. Beyond ASCII they follow the C library's locale, as the
// framework's parser does, so both read a text the same way in any locale.
bool isSpace(char32_t c) noexcept
{
    return juce::CharacterFunctions::isWhitespace(static_cast<juce::juce_wchar>(c));
}

bool isNameCharacter(char32_t c) noexcept
{
    if (c < 160)
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               c == '_' || c == '-' || c == ':' || c == '.';
    return juce::CharacterFunctions::isLetterOrDigit(static_cast<juce::juce_wchar>(c));
}

bool sameIgnoringCase(char32_t c, char ascii) noexcept
{
    using juce::CharacterFunctions;
    return c == char32_t(ascii) ||
           CharacterFunctions::toUpperCase(static_cast<juce::juce_wchar>(c)) ==
               CharacterFunctions::toUpperCase(static_cast<juce::juce_wchar>(ascii));
}

int digitValue(char32_t c, bool hexadecimal) noexcept
{
    if (c >= '0' && c <= '9')
        return int(c - '0');
    if (hexadecimal && c >= 'a' && c <= 'f')
        return int(c - 'a') + 10;
    if (hexadecimal && c >= 'A' && c <= 'F')
        return int(c - 'A') + 10;
    return -1;
}

/** The texts the framework's parser skips over by searching for their end. */
enum class Search
{
    commentEnd,
    instructionEnd,
    tagEnd,
    characterDataEnd
};
constexpr std::array<std::string_view, 4> searchPatterns{"-->", "?>", ">", "]]>"};

/** Reads like the framework's parser: the same grammar, leniency and errors, but with an explicit
    depth instead of recursion, and remembering failed searches, which the parser repeats. */
class Reader
{
public:
    explicit Reader(std::string_view text)
        : begin(reinterpret_cast<const Byte*>(text.data())), end(begin + text.size()), p(begin),
          furthest(begin)
    {
        failedSearchFrom.fill(nullptr);
    }

    std::optional<StateTexts> read();

    std::size_t bytesExamined() const noexcept { return std::size_t(furthest - begin); }

private:
    enum class TagEnd
    {
        failed,
        childless,
        opened
    };
    enum class Child
    {
        other,
        gain,
        direction
    };

    //==============================================================================================
    // Characters. At the end the text reads as 0, like the parser's terminated strings; once the
    // text is refused everything does, so every loop ends.

    char32_t at(int ahead = 0);
    void advance();
    /** Past ASCII characters already looked at. */
    void skipBytes(std::size_t count) { p += count; }
    bool lookingAt(std::string_view ascii, int from = 0);
    bool lookingAtIgnoringCase(std::string_view ascii);
    /** The next occurrence of the searched text from p, or null. */
    const Byte* find(Search search);
    /** Past the next occurrence of the searched text; false, staying put, when there is none. */
    bool skipPast(Search search);
    /** Past a run of name characters; false when there is none. */
    bool skipName();
    bool refuse() noexcept
    {
        refused = true;
        return false;
    }

    //==============================================================================================
    // The grammar

    void skipSpaceAndComments();
    bool skipDocumentType();
    TagEnd readTag(std::string_view& name);
    bool readQuotedValue();
    /** The character a reference stands for; 0 when it is refused. */
    char32_t readReference();
    bool readCharacterBlock(std::string* text);
    bool readContent();
    Child childFor(std::string_view name) const;

    const Byte* const begin;
    const Byte* const end;
    const Byte* p;
    const Byte* furthest;
    bool refused = false;
    /** The parser's end-of-input flag: set at the end of the text, but also where a comment never
        ends, and it stays set; parts of the grammar behave differently once it is. */
    bool outOfData = false;
    bool insideRoot = false;
    std::array<const Byte*, searchPatterns.size()> failedSearchFrom;
    StateTexts texts;
};

char32_t Reader::at(int ahead)
{
    const Byte* q = p;
    for (int i = 0; !refused; ++i)
    {
        if (q >= end)
        {
            furthest = end;
            return 0;
        }
        char32_t c = 0;
        const int length = decode(q, end, c);
        if (length == 0)
            break;
        q += length;
        furthest = std::max(furthest, q);
        if (i == ahead)
            return c;
    }
    refuse();
    return 0;
}

bool Reader::skipName()
{
    const Byte* const start = p;
    while (isNameCharacter(at()))
        advance();
    return p != start;
}

void Reader::advance()
{
    char32_t c = 0;
    const int length = p < end ? decode(p, end, c) : 0;
    if (length == 0)
        refuse();
    else
        p += length;
}

bool Reader::lookingAt(std::string_view ascii, int from)
{
    for (std::size_t i = 0; i < ascii.size(); ++i)
        if (at(from + int(i)) != char32_t(ascii[i]))
            return false;
    return true;
}

bool Reader::lookingAtIgnoringCase(std::string_view ascii)
{
    for (std::size_t i = 0; i < ascii.size(); ++i)
        if (!sameIgnoringCase(at(int(i)), ascii[i]))
            return false;
    return true;
}

bool Reader::skipPast(Search search)
{
    const Byte* const found = find(search);
    if (found == nullptr)
        return false;
    p = found + searchPatterns[std::size_t(search)].size();
    return true;
}

const Byte* Reader::find(Search search)
{
    const auto index = std::size_t(search);
    const std::string_view pattern = searchPatterns[index];
    // A search that failed from some point fails from every later one: the parser repeats such
    // searches, which would make its time grow with the square of the text.
    if (refused || (failedSearchFrom[index] != nullptr && p >= failedSearchFrom[index]))
        return nullptr;

    const Byte* const hit = std::search(p, end, pattern.begin(), pattern.end());
    if (!isValidUtf8(p, hit))
    {
        refuse();
        return nullptr;
    }
    if (hit == end)
    {
        failedSearchFrom[index] = p;
        furthest = end;
        return nullptr;
    }
    furthest = std::max(furthest, hit + pattern.size());
    return hit;
}

//==================================================================================================
void Reader::skipSpaceAndComments()
{
    for (;;)
    {
        while (isSpace(at()))
            advance();
        if (at() == 0)
        {
            outOfData = true;
            return;
        }
        if (at() != '<')
            return;

        const bool comment = at(1) == '!' && at(2) == '-' && at(3) == '-';
        const bool instruction = !comment && at(1) == '?';
        if (!comment && !instruction)
            return;
        // Inside an element the parser would loop for ever on the text after an instruction.
        if (instruction && insideRoot)
        {
            refuse();
            return;
        }
        skipBytes(comment ? 4 : 2);
        if (!skipPast(comment ? Search::commentEnd : Search::instructionEnd))
        {
            // Reading goes on right after "<!--" or "<?".
            outOfData = true;
            return;
        }
    }
}

bool Reader::skipDocumentType()
{
    skipBytes(9);
    for (std::int64_t depth = 1; depth > 0;)
    {
        const char32_t c = at();
        if (c == 0)
            return refuse();
        advance();
        if (c == '<')
            ++depth;
        else if (c == '>')
            --depth;
    }
    return true;
}

Reader::TagEnd Reader::readTag(std::string_view& name)
{
    skipBytes(1);
    // Space between '<' and the name is allowed.
    if (!isNameCharacter(at()))
        skipSpaceAndComments();
    const Byte* const nameStart = p;
    if (!skipName())
    {
        refuse();
        return TagEnd::failed;
    }
    name = std::string_view(reinterpret_cast<const char*>(nameStart), std::size_t(p - nameStart));

    for (;;)
    {
        skipSpaceAndComments();
        const char32_t c = at();
        if (c == '/' && at(1) == '>')
        {
            skipBytes(2);
            return TagEnd::childless;
        }
        if (c == '>')
        {
            skipBytes(1);
            return TagEnd::opened;
        }
        if (!isNameCharacter(c))
        {
            // Anything else is an error, unless the input already ran out: then the element
            // simply ends.
            if (!outOfData)
                refuse();
            return refused ? TagEnd::failed : TagEnd::childless;
        }

        skipName();
        skipSpaceAndComments();
        const char32_t equals = at();
        if (equals == 0)
            outOfData = true;
        else
            advance();
        if (equals != '=')
        {
            refuse();
            return TagEnd::failed;
        }
        skipSpaceAndComments();
        const char32_t quote = at();
        // A value without quotes ends the element there, without children and without error.
        if (quote != '"' && quote != '\'')
            return refused ? TagEnd::failed : TagEnd::childless;
        if (!readQuotedValue())
            return TagEnd::failed;
    }
}

bool Reader::readQuotedValue()
{
    const char32_t quote = at();
    advance();
    const Byte* const valueStart = p;
    // Once the input counts as used up, the parser takes the value as empty and goes on after
    // the opening quote.
    while (!outOfData)
    {
        const char32_t c = at();
        if (c == quote)
        {
            advance();
            return true;
        }
        if (c == 0)
        {
            if (refused)
                return false;
            outOfData = true;
            // The parser lets a value that the end of the text cuts off right after its opening
            // quote pass.
            return p == valueStart ? true : refuse();
        }
        if (c == '&')
        {
            if (readReference() == 0)
                return false;
        }
        else
        {
            advance();
        }
    }
    return !refused;
}

char32_t Reader::readReference()
{
    struct Entity
    {
        std::string_view name;
        char value;
    };
    static constexpr std::array<Entity, 5> predefined{
        {{"amp;", '&'}, {"quot;", '"'}, {"apos;", '\''}, {"lt;", '<'}, {"gt;", '>'}}};

    skipBytes(1);
    for (const auto& entity : predefined)
        if (lookingAtIgnoringCase(entity.name))
        {
            for (std::size_t i = 0; i < entity.name.size(); ++i)
                advance();
            return char32_t(entity.value);
        }

    // Any other name could only come from a document type, whose entities the parser expands
    // without bound.
    if (at() != '#')
    {
        refuse();
        return 0;
    }
    advance();
    const bool hexadecimal = at() == 'x' || at() == 'X';
    if (hexadecimal)
        advance();
    // The most digits the parser reads; it reads past the text when the digits end it.
    const std::size_t maxDigits = hexadecimal ? 8 : 12;
    std::uint64_t value = 0;
    std::size_t numDigits = 0;
    for (int digit = digitValue(at(), hexadecimal); digit >= 0;
         digit = digitValue(at(), hexadecimal))
    {
        if (++numDigits > maxDigits)
        {
            refuse();
            return 0;
        }
        value = value * (hexadecimal ? 16u : 10u) + std::uint64_t(digit);
        advance();
    }
    if (numDigits == 0 || at() != ';' || value == 0 || !isUnicodeScalar(value))
    {
        refuse();
        return 0;
    }
    advance();
    return char32_t(value);
}

bool Reader::readCharacterBlock(std::string* text)
{
    std::string piece;
    bool keep = false; // whitespace-only blocks are dropped
    for (;;)
    {
        const char32_t c = at();
        if (c == '<')
        {
            if (!(at(1) == '!' && at(2) == '-' && at(3) == '-'))
                break;
            skipBytes(4);
            if (!skipPast(Search::commentEnd))
                return refuse();
            continue;
        }
        if (c == 0)
            return refuse();
        if (c == '&')
        {
            const char32_t character = readReference();
            if (character == 0)
                return false;
            keep = keep || !isSpace(character);
            if (text != nullptr)
                appendUtf8(piece, character);
            continue;
        }

        for (;;)
        {
            char32_t character = at();
            if (character == '\r')
            {
                character = '\n';
                if (at(1) == '\n')
                {
                    advance();
                    continue;
                }
            }
            if (character == '<' || character == '&')
                break;
            if (character == 0)
                return refuse();
            keep = keep || !isSpace(character);
            if (text != nullptr)
                appendUtf8(piece, character);
            advance();
        }
    }
    if (keep && text != nullptr)
        text->append(piece);
    return true;
}

Reader::Child Reader::childFor(std::string_view name) const
{
    auto matches = [name](std::string_view tag)
    {
        const auto* q = reinterpret_cast<const Byte*>(name.data());
        const auto* const nameEnd = q + name.size();
        std::size_t i = 0;
        for (char32_t c = 0; q < nameEnd; ++i)
        {
            const int length = decode(q, nameEnd, c);
            if (length == 0 || i >= tag.size() || !sameIgnoringCase(c, tag[i]))
                return false;
            q += length;
        }
        return i == tag.size();
    };
    if (matches(stateTags::gain))
        return Child::gain;
    if (matches(stateTags::direction))
        return Child::direction;
    return Child::other;
}

bool Reader::readContent()
{
    std::size_t depth = 1;
    Child child = Child::other; // the root's child being read while depth >= 2
    std::string childText;
    auto finishChild = [&]
    {
        if (child == Child::gain)
            texts.gain = std::move(childText);
        else if (child == Child::direction)
            texts.direction = std::move(childText);
        child = Child::other;
        childText.clear();
    };

    while (!refused)
    {
        const Byte* const beforeSpace = p;
        skipSpaceAndComments();
        if (outOfData)
            return refuse();

        if (at() != '<')
        {
            // A block of text, with the space before it.
            p = beforeSpace;
            if (!readCharacterBlock(depth >= 2 && child != Child::other ? &childText : nullptr))
                return false;
            continue;
        }

        if (at(1) == '/')
        {
            if (!skipPast(Search::tagEnd))
            {
                // Without a '>' the parser stays on this close tag, so it ends every open element.
                if (depth >= 2)
                    finishChild();
                return !refused;
            }
            if (depth == 2)
                finishChild();
            if (--depth == 0)
                return true;
            continue;
        }

        if (at(1) == '!' && lookingAt("[CDATA[", 2))
        {
            skipBytes(9);
            const Byte* const close = find(Search::characterDataEnd);
            if (close == nullptr)
                return refuse();
            if (depth >= 2 && child != Child::other)
                childText.append(reinterpret_cast<const char*>(p), std::size_t(close - p));
            p = close + 3;
            continue;
        }

        std::string_view name;
        const TagEnd tagEnd = readTag(name);
        if (tagEnd == TagEnd::failed)
            return false;
        if (depth == 1)
        {
            child = childFor(name);
            childText.clear();
        }
        if (tagEnd == TagEnd::opened)
            ++depth;
        else if (depth == 1)
            finishChild(); // its text is empty
    }
    return false;
}

std::optional<StateTexts> Reader::read()
{
    if (at() == 0)
        return std::nullopt;
    skipSpaceAndComments();
    if (outOfData)
        return std::nullopt;
    if (lookingAt("<!DOCTYPE"))
    {
        if (!skipDocumentType())
            return std::nullopt;
        skipSpaceAndComments();
        if (outOfData)
            return std::nullopt;
    }
    if (at() != '<')
        return std::nullopt;

    insideRoot = true;
    std::string_view rootName;
    switch (readTag(rootName))
    {
    case TagEnd::failed:
        return std::nullopt;
    case TagEnd::childless:
        break;
    case TagEnd::opened:
        if (!readContent())
            return std::nullopt;
        break;
    }
    if (refused)
        return std::nullopt;
    return std::move(texts);
}
} // namespace

StateTextReading readStateText(std::string_view text)
{
    Reader reader(text);
    StateTextReading reading;
    reading.texts = reader.read();
    reading.bytesExamined = reader.bytesExamined();
    return reading;
}

} // namespace veridane
