#pragma once

#include <cstdint>

namespace veridane
{

/** Direction indexes as saved and shown: 1 converts ambiX to FuMa, every other value FuMa to ambiX.
 */
constexpr std::int32_t fumaToAmbix = 0;
constexpr std::int32_t ambixToFuma = 1;

/** Where the conversion glides for one direction. */
struct ConversionTargets
{
    float weightW;     ///< factor on W: FuMa carries W 3 dB lower than ambiX
    float permutation; ///< channel-order position: 0 reads Y Z X from X Y Z, 1 the reverse
};

/** sqrt(2) and sqrt(1/2) rounded to single precision (1.41421354 and 0.70710677). */
constexpr float sqrtTwo = 1.41421356237309515f;
constexpr float sqrtHalf = 0.70710678118654757f;

constexpr ConversionTargets targetsForDirection(std::int32_t direction) noexcept
{
    return direction == ambixToFuma ? ConversionTargets{sqrtHalf, 1.0f}
                                    : ConversionTargets{sqrtTwo, 0.0f};
}

} // namespace veridane
