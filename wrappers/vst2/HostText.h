#pragma once

#include <juce_core/juce_core.h>

#include <cstddef>

namespace veridane::vst2
{

/** Longest text, in bytes before the terminating zero, that each kind of host buffer takes. */
namespace hostTextLength
{
/** Parameter name, label and display text. */
constexpr std::size_t parameterText = 8;
/** Program names, current and indexed. */
constexpr std::size_t programName = 24;
/** Effect name, vendor and product strings: the host's 64-byte fields, zero byte included. */
constexpr std::size_t effectName = 63;
/** How far a text coming from the host is read: no opcode needs more, and a host that forgot
    the terminating zero must not send us through its memory. */
constexpr std::size_t incoming = 255;
} // namespace hostTextLength

/** Writes text as UTF-8 into a host buffer of maxLength + 1 bytes: at most maxLength bytes, cut
    before a character that would not fit whole, then a zero byte. A null destination is left. */
void copyToHost(const juce::String& text, char* destination, std::size_t maxLength) noexcept;

/** Reads a zero-terminated UTF-8 text from the host, at most maxLength bytes of it. A null
    source, and one that is not valid UTF-8, reads as empty. */
juce::String readFromHost(const char* source, std::size_t maxLength = hostTextLength::incoming);

} // namespace veridane::vst2
