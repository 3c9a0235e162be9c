#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace veridane
{

/** The tags of the saved state's elements. */
namespace stateTags
{
constexpr const char* root = "Root";
constexpr const char* gain = "Gain";
constexpr const char* direction = "idxInputConfig";
} // namespace stateTags

/** The texts a saved state holds: all text inside the last child of the root element tagged
    "Gain" (and "idxInputConfig"), tags compared ignoring case, nested elements' text included;
    absent when the root has no such child. */
struct StateTexts
{
    std::optional<std::string> gain;
    std::optional<std::string> direction;
};

struct StateTextReading
{
    /** Nothing when the text is refused. */
    std::optional<StateTexts> texts;
    /** How many leading bytes of the text the reader looked at: the rest cannot change the
        answer. */
    std::size_t bytesExamined = 0;
};

/** Reads the XML text of a saved state the way the framework's XML parser reads it, and gives
    the same answer wherever that parser gives one, but in one pass: time and memory grow
    linearly with the text, the stack not at all, and no byte past the text is read.

    Refused besides what that parser refuses, because the parser loops, recurses without bound
    or reads past the text on them: bytes that are not UTF-8, a processing instruction inside the
    root element, and a reference other than the five predefined entities or a complete numeric
    reference to a Unicode character. A document type is skipped (its entities can never be
    referenced). Nothing after the root element is looked at. */
StateTextReading readStateText(std::string_view text);

} // namespace veridane
