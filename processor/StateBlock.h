#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <optional>

namespace veridane
{

/** The processor's saved state: the normalised gain and the direction index. */
struct SavedState
{
    std::optional<float> gainValue;        ///< absent when the block had no "Gain" element
    std::optional<std::int32_t> direction; ///< absent when it had no "idxInputConfig" element
};

/** Magic of the header that wraps the XML text ("VC2!" read as little-endian bytes 56 43 32 21). */
constexpr std::uint32_t stateBlockMagic = 0x21324356;

/** The block hosts store: magic, text length, one-line XML without declaration, a zero byte. */
juce::MemoryBlock writeStateBlock(float gainValue, std::int32_t direction);

/** The gain a block written with this gain restores: what its text, rounded to 6 significant
    digits, reads back as. */
float gainReadBack(float gainValue);

/** Reads a block written by writeStateBlock (or by the framework's own XML wrapper, which adds a
    declaration). Answers nothing for a block that is too short, has another magic, a length of
    zero or less, or text that readStateText refuses. Tags match ignoring case; later repeats
    win. Any bytes at all are safe: see readStateText. */
std::optional<SavedState> readStateBlock(const void* data, int sizeInBytes);

} // namespace veridane
