// Restores arbitrary bytes into a processor, as a corrupted project or a hostile host would, then
// checks that a refused block changed nothing, that an accepted one says what the framework's own
// parser says wherever that parser can read it safely, that a block still processes to finite
// output, and that the state written afterwards survives writing, reading and writing again.
#include "FrameworkReading.h"

#include "processor/LoomcraftAudioProcessor.h"
#include "processor/StateBlock.h"
#include "processor/StateNumbers.h"

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{
constexpr float gainBefore = 0.35f;
constexpr std::int32_t directionBefore = 7;
constexpr std::uint32_t magic = 0x21324356;

void require(bool condition, const char* what)
{
    if (condition)
        return;
    std::fprintf(stderr, "state_restore: %s\n", what);
    std::abort();
}

std::uint32_t bits(float value)
{
    std::uint32_t b;
    std::memcpy(&b, &value, sizeof b);
    return b;
}

std::uint32_t littleEndian32(const std::uint8_t* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

/** The block's text as the header describes it: up to the stated length or the data's end,
    whichever comes first, and up to the first zero byte; nothing when the header refuses. */
std::optional<std::string_view> textOf(const std::uint8_t* data, std::size_t size)
{
    if (size <= 8 || littleEndian32(data) != magic)
        return std::nullopt;
    const auto stated = std::int32_t(littleEndian32(data + 4));
    if (stated <= 0)
        return std::nullopt;
    std::string_view text(reinterpret_cast<const char*>(data + 8),
                          std::min(std::size_t(stated), size - 8));
    return text.substr(0, text.find('\0'));
}

void requireSameAsFramework(std::string_view text, const veridane::StateTexts& ours)
{
    const auto theirs = fuzzing::frameworkTexts(text);
    require(theirs.has_value(), "accepted a text the framework's parser refuses");
    require(theirs->gain == ours.gain, "gain text differs from the framework's");
    require(theirs->direction == ours.direction, "direction text differs from the framework's");
}

/** Checks the reader against the framework and answers what the processor should now hold. */
std::optional<veridane::SavedState> expectedRestore(const std::uint8_t* data, std::size_t size)
{
    const auto text = textOf(data, size);
    if (!text)
        return std::nullopt;
    const auto reading = veridane::readStateText(*text);
    const bool safeWhole = fuzzing::parserIsSafeOn(*text);
    if (!reading.texts)
    {
        if (safeWhole)
            require(!fuzzing::frameworkTexts(*text), "refused a text the framework's parser reads");
        return std::nullopt;
    }

    // What the reader never looked at cannot matter, so the framework reads only that part; its
    // recursion is the one hazard left there.
    require(reading.bytesExamined <= text->size(), "examined more than the text");
    const auto examined = text->substr(0, reading.bytesExamined);
    if (fuzzing::nestsShallowly(examined))
        requireSameAsFramework(examined, *reading.texts);
    if (safeWhole)
        requireSameAsFramework(*text, *reading.texts);

    veridane::SavedState state;
    if (const auto& gain = reading.texts->gain)
    {
        state.gainValue = veridane::leadingFloat(gain->c_str());
        if (fuzzing::floatConversionIsSafeOn(*gain))
        {
            // The deliberate differences: a zero keeps its sign, so that "-0" reads back as the -0
            // it was saved from, and what the framework reads as NaN or infinity restores 0.
            const float theirs = fuzzing::frameworkFloat(*gain);
            const bool signedZero =
                *state.gainValue == 0.0f && theirs == 0.0f && std::signbit(*state.gainValue);
            const bool notFinite = !std::isfinite(theirs) && bits(*state.gainValue) == 0;
            require(bits(*state.gainValue) == bits(theirs) || signedZero || notFinite,
                    "gain differs from the framework's conversion");
        }
    }
    if (const auto& direction = reading.texts->direction)
        state.direction = veridane::leadingInteger(direction->c_str());
    return state;
}

void requireFiniteOutput(LoomcraftAudioProcessor& processor)
{
    juce::AudioBuffer<float> buffer(4, 64);
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 64; ++i)
            buffer.setSample(c, i, 0.5f - float((c * 64 + i) % 17) / 16.0f);
    juce::MidiBuffer midi;
    processor.processBlock(buffer, midi);
    for (int c = 0; c < 4; ++c)
        for (int i = 0; i < 64; ++i)
            require(std::isfinite(buffer.getSample(c, i)), "output not finite");
}

void requireStableRoundTrip(LoomcraftAudioProcessor& processor)
{
    static LoomcraftAudioProcessor rereader;
    juce::MemoryBlock first, second;
    processor.getStateInformation(first);
    require(veridane::readStateBlock(first.getData(), int(first.getSize())).has_value(),
            "the block written is refused");
    rereader.setStateInformation(first.getData(), int(first.getSize()));
    rereader.getStateInformation(second);
    require(first == second, "writing, reading and writing again changed the block");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (size > 1u << 24)
        return -1;
    static LoomcraftAudioProcessor processor;
    processor.setParameter(0, gainBefore);
    processor.setConversionMode(directionBefore);
    processor.stateChanged = false;

    const auto expected = expectedRestore(data, size);
    processor.setStateInformation(data, int(size));

    require(processor.stateChanged.load() == expected.has_value(),
            expected ? "an accepted block did not raise the flag"
                     : "a refused block raised the flag");
    const float gainWanted = expected && expected->gainValue ? *expected->gainValue : gainBefore;
    const auto directionWanted =
        expected && expected->direction ? *expected->direction : directionBefore;
    require(bits(processor.gainValue.load()) == bits(gainWanted), "gain not as expected");
    require(processor.idxInputConfig.load() == directionWanted, "direction not as expected");
    require(std::isfinite(processor.targetGain.load()), "target gain not finite");
    require(!expected || std::isfinite(processor.gainValue.load()), "gain restored not finite");

    requireFiniteOutput(processor);
    requireStableRoundTrip(processor);
    return 0;
}
