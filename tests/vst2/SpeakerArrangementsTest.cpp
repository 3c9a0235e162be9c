#include "tests/vst2/TestEffects.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>

using namespace vst2test;

namespace
{
constexpr size_t kSpeakerBytes = sizeof(VstSpeakerProperties);

bool speakersAreZero(const VstSpeakerArrangement* arrangement)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(arrangement->speakers);
    for (size_t i = 0; i < kSpeakerBytes * static_cast<size_t>(arrangement->numChannels); ++i)
        if (bytes[i] != 0)
            return false;
    return true;
}

void fillSpeaker(VstSpeakerProperties& speaker, int seed)
{
    speaker.azimuth = 0.5f * static_cast<float>(seed);
    speaker.elevation = 1.5f * static_cast<float>(seed);
    speaker.radius = 2.5f * static_cast<float>(seed);
    speaker.reserved = 3.5f * static_cast<float>(seed);
    std::memset(speaker.name, 'a' + seed, sizeof(speaker.name) - 1);
    speaker.name[sizeof(speaker.name) - 1] = 0;
    speaker.type = 100 + seed;
    std::memset(speaker.future, seed, sizeof(speaker.future));
}

/** Owns an arrangement the effect allocated, and releases it through the effect. */
struct Arrangement
{
    explicit Arrangement(AudioEffectX& owner) : effect(owner) {}
    ~Arrangement() { effect.deallocateArrangement(&pointer); }

    AudioEffectX& effect;
    VstSpeakerArrangement* pointer = nullptr;
};
} // namespace

TEST(SpeakerArrangements, AllocateGivesAZeroedBlockForTheChannelCount)
{
    for (const int32_t channels : {0, 1, 4, 9})
    {
        SCOPED_TRACE("channels " + std::to_string(channels));
        PlainEffect effect;
        Arrangement arrangement(effect);
        ASSERT_TRUE(effect.allocateArrangement(&arrangement.pointer, channels));
        ASSERT_NE(arrangement.pointer, nullptr);
        EXPECT_EQ(arrangement.pointer->type, 0);
        EXPECT_EQ(arrangement.pointer->numChannels, channels);
        EXPECT_TRUE(speakersAreZero(arrangement.pointer));
    }
}

TEST(SpeakerArrangements, AllocateReleasesThePreviousBlock)
{
    PlainEffect effect;
    Arrangement arrangement(effect);
    ASSERT_TRUE(effect.allocateArrangement(&arrangement.pointer, 4));
    arrangement.pointer->type = 7;
    ASSERT_TRUE(effect.allocateArrangement(&arrangement.pointer, 2));
    EXPECT_EQ(arrangement.pointer->type, 0);
    EXPECT_EQ(arrangement.pointer->numChannels, 2);
    // The leak checker reports the first block if it was kept.
}

TEST(SpeakerArrangements, AllocateRefusesImpossibleCountsAndKeepsTheBlock)
{
    constexpr int32_t kFirstTooMany = (INT32_MAX - 8) / 112 + 1;
    for (const int32_t channels : {-1, INT32_MIN, kFirstTooMany, INT32_MAX})
    {
        SCOPED_TRACE("channels " + std::to_string(channels));
        PlainEffect effect;
        Arrangement arrangement(effect);
        ASSERT_TRUE(effect.allocateArrangement(&arrangement.pointer, 1));
        VstSpeakerArrangement* const before = arrangement.pointer;

        EXPECT_FALSE(effect.allocateArrangement(&arrangement.pointer, channels));
        EXPECT_EQ(arrangement.pointer, before);
        EXPECT_EQ(arrangement.pointer->numChannels, 1);
    }
}

TEST(SpeakerArrangements, ToolsRefuseNullArguments)
{
    PlainEffect effect;
    VstSpeakerArrangement* none = nullptr;
    VstSpeakerProperties speaker{};

    EXPECT_FALSE(effect.allocateArrangement(nullptr, 2));
    EXPECT_FALSE(effect.deallocateArrangement(nullptr));
    EXPECT_TRUE(effect.deallocateArrangement(&none));
    EXPECT_EQ(none, nullptr);
    EXPECT_FALSE(effect.copySpeaker(nullptr, &speaker));
    EXPECT_FALSE(effect.copySpeaker(&speaker, nullptr));
    EXPECT_FALSE(effect.matchArrangement(&none, nullptr));
    EXPECT_FALSE(effect.matchArrangement(nullptr, none));
}

TEST(SpeakerArrangements, CopySpeakerCopiesEveryFieldAndEndsTheName)
{
    PlainEffect effect;
    VstSpeakerProperties from{};
    fillSpeaker(from, 3);
    std::memset(from.name, 'n', sizeof(from.name)); // 64 characters, no end byte
    VstSpeakerProperties to{};
    fillSpeaker(to, 5);

    ASSERT_TRUE(effect.copySpeaker(&to, &from));
    EXPECT_EQ(std::strlen(to.name), 63u);
    EXPECT_EQ(std::string(to.name), std::string(63, 'n'));
    EXPECT_EQ(to.azimuth, from.azimuth);
    EXPECT_EQ(to.elevation, from.elevation);
    EXPECT_EQ(to.radius, from.radius);
    EXPECT_EQ(to.reserved, from.reserved);
    EXPECT_EQ(to.type, from.type);
    EXPECT_EQ(std::memcmp(to.future, from.future, sizeof(to.future)), 0);
}

TEST(SpeakerArrangements, MatchCopiesTypeAndEverySpeaker)
{
    PlainEffect effect;
    Arrangement source(effect);
    Arrangement destination(effect);
    ASSERT_TRUE(effect.allocateArrangement(&source.pointer, 3));
    source.pointer->type = 42;
    for (int i = 0; i < 3; ++i)
        fillSpeaker(source.pointer->speakers[i], i + 1);
    ASSERT_TRUE(effect.allocateArrangement(&destination.pointer, 6));

    ASSERT_TRUE(effect.matchArrangement(&destination.pointer, source.pointer));
    ASSERT_NE(destination.pointer, source.pointer);
    EXPECT_EQ(destination.pointer->type, 42);
    EXPECT_EQ(destination.pointer->numChannels, 3);
    EXPECT_EQ(
        std::memcmp(destination.pointer->speakers, source.pointer->speakers, 3 * kSpeakerBytes), 0);
}

TEST(SpeakerArrangements, MatchOntoItselfKeepsTheArrangement)
{
    PlainEffect effect;
    Arrangement arrangement(effect);
    ASSERT_TRUE(effect.allocateArrangement(&arrangement.pointer, 2));
    arrangement.pointer->type = 9;
    fillSpeaker(arrangement.pointer->speakers[1], 4);
    VstSpeakerArrangement* const before = arrangement.pointer;

    EXPECT_TRUE(effect.matchArrangement(&arrangement.pointer, arrangement.pointer));
    EXPECT_EQ(arrangement.pointer, before);
    EXPECT_EQ(arrangement.pointer->type, 9);
    EXPECT_EQ(arrangement.pointer->speakers[1].type, 104);
}

TEST(SpeakerArrangements, MatchRefusesASourceWithANegativeCount)
{
    PlainEffect effect;
    VstSpeakerArrangement source{};
    source.numChannels = -1;
    Arrangement destination(effect);

    EXPECT_FALSE(effect.matchArrangement(&destination.pointer, &source));
    EXPECT_EQ(destination.pointer, nullptr);
}
