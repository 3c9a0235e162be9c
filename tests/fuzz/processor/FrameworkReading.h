// The saved-state reader the plug-in used before its own: the framework's XML parser and number
// conversion. Only for texts that FrameworkReading's guards call safe: on others it loops,
// recurses without bound, reads past the text or overflows.
#pragma once

#include "processor/StateTextReader.h"

#include <optional>
#include <string_view>

namespace fuzzing
{

/** The root's "Gain" and "idxInputConfig" texts as the framework's parser finds them; nothing
    when it finds no element. */
std::optional<veridane::StateTexts> frameworkTexts(std::string_view text);

/** The framework's float conversion of a saved text. */
float frameworkFloat(const std::string& text);

/** Whether the framework's parser reads the text without harm: strict UTF-8, no reference, no
    processing instruction, and too few '<' to nest deeply. */
bool parserIsSafeOn(std::string_view text);

/** Whether the framework's float conversion reads the text without overflow: no exponent of ten
    digits or more, no run of a thousand digits. */
bool floatConversionIsSafeOn(std::string_view text);

/** Whether the parser's recursion stays shallow on the text. */
bool nestsShallowly(std::string_view text);

} // namespace fuzzing
