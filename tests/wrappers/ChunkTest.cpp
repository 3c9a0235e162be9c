#include "tests/wrappers/WrapperTestSupport.h"

#include <climits>

using namespace wrappertest;

TEST(WrapperChunk, RoundTripCarriesGainAndDirection)
{
    for (const int32_t isPreset : {0, 1})
    {
        SCOPED_TRACE(isPreset ? "program chunk" : "bank chunk");
        Instance saved;
        saved.effect->setParameter(saved.effect, 0, 0.3f);
        saved.processor().setConversionMode(1);
        void* data = nullptr;
        const auto size = saved.dispatch(effGetChunk, isPreset, 0, &data);
        ASSERT_GT(size, 0);
        EXPECT_EQ(std::vector<char>(static_cast<char*>(data), static_cast<char*>(data) + size),
                  bytesOf(veridane::writeStateBlock(0.3f, 1)));

        Instance restored;
        EXPECT_EQ(restored.dispatch(effSetChunk, isPreset, size, data), 1);
        EXPECT_EQ(restored.processor().gainValue.load(), 0.3f);
        EXPECT_EQ(restored.processor().idxInputConfig.load(), 1);
    }
}

TEST(WrapperChunk, HandedOutBytesStayUnchangedUntilTheNextGet)
{
    Instance instance;
    void* first = nullptr;
    const auto size = instance.dispatch(effGetChunk, 0, 0, &first);
    const std::vector<char> copy(static_cast<char*>(first), static_cast<char*>(first) + size);

    instance.effect->setParameter(instance.effect, 0, 0.1f);
    instance.processor().setConversionMode(1);
    EXPECT_EQ(std::vector<char>(static_cast<char*>(first), static_cast<char*>(first) + size), copy);
    EXPECT_EQ(instance.chunk(), bytesOf(veridane::writeStateBlock(0.1f, 1)));
}

TEST(WrapperChunk, HostileChunksAreRefusedOrIgnoredWithoutLosingState)
{
    const auto valid = bytesOf(veridane::writeStateBlock(0.7f, 0));
    const auto validSize = intptr_t(valid.size());
    std::vector<char> garbage(64);
    for (size_t i = 0; i < garbage.size(); ++i)
        garbage[i] = char(i * 37 + 11);
    auto otherMagic = valid;
    otherMagic[0] ^= 0x01;

    const struct
    {
        const char* name;
        const void* data;
        intptr_t size;
        intptr_t answer;
    } rows[] = {
        {"null data", nullptr, validSize, 0},
        {"negative size", valid.data(), -1, 0},
        {"most negative size", valid.data(), INT32_MIN, 0},
        {"zero size", valid.data(), 0, 0},
        {"size beyond 32 bits", valid.data(), intptr_t{1} << 33, 0},
        // Cut to 32 bits, this size would read as the block's true one.
        {"size that wraps to the true one", valid.data(), (intptr_t{1} << 32) + validSize, 0},
        {"garbage bytes", garbage.data(), intptr_t(garbage.size()), 1},
        {"another magic", otherMagic.data(), validSize, 1},
        {"a single byte", valid.data(), 1, 1},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        Instance instance;
        instance.effect->setParameter(instance.effect, 0, 0.3f);
        instance.processor().setConversionMode(1);
        const auto before = instance.chunk();

        EXPECT_EQ(instance.dispatch(effSetChunk, 0, row.size, const_cast<void*>(row.data)),
                  row.answer);
        EXPECT_EQ(instance.chunk(), before);
    }

    Instance instance;
    EXPECT_EQ(instance.dispatch(effGetChunk, 0, 0, nullptr), 0);
}
