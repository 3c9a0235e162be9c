#include "tests/vst2/TestEffects.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <functional>
#include <stdexcept>

using namespace vst2test;

namespace
{
using RecordBytes = std::array<unsigned char, sizeof(AEffect)>;

void put32(RecordBytes& bytes, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        bytes[offset + i] = static_cast<unsigned char>(value >> (8 * i));
}

RecordBytes bytesOf(const AEffect& record)
{
    RecordBytes bytes;
    std::memcpy(bytes.data(), &record, sizeof(record));
    return bytes;
}

constexpr size_t kPointerOffsets[] = {8, 16, 24, 32, 96, 120, 128};

/** Counts its destruction and its close, and can be told to throw. */
class CountedEffect : public PlainEffect
{
public:
    inline static int destroyed = 0;
    inline static int closed = 0;

    ~CountedEffect() override { ++destroyed; }
    void close() override
    {
        ++closed;
        if (throwOnClose)
            throw std::runtime_error("close failed");
    }

    bool throwOnClose = false;
};

/** Throws from every entry the record reaches. */
class ThrowingEffect : public PlainEffect
{
public:
    intptr_t dispatcher(int32_t, int32_t, intptr_t, void*, float) override { throw 1; }
    float getParameter(int32_t) override { throw std::runtime_error("get"); }
    void setParameter(int32_t, float) override { throw std::runtime_error("set"); }
    void process(float**, float**, int32_t) override { throw std::runtime_error("process"); }
    void processReplacing(float**, float**, int32_t) override { throw std::bad_alloc(); }
    void processDoubleReplacing(double**, double**, int32_t) override { throw 2; }
};

/** Remembers what reached it through the record. */
class ReachedEffect : public PlainEffect
{
public:
    void setParameter(int32_t index, float value) override { log += "set" + args(index, value); }
    float getParameter(int32_t index) override
    {
        log += "get" + std::to_string(index);
        return 0.75f;
    }
    void process(float**, float**, int32_t frames) override
    {
        log += "process" + std::to_string(frames);
    }
    void processReplacing(float**, float**, int32_t frames) override
    {
        log += "replacing" + std::to_string(frames);
    }
    void processDoubleReplacing(double**, double**, int32_t frames) override
    {
        log += "double" + std::to_string(frames);
    }

    std::string log;

private:
    static std::string args(int32_t index, float value)
    {
        return std::to_string(index) + "=" + std::to_string(value);
    }
};
} // namespace

TEST(EffectRecord, FreshRecordMatchesTheHostImage)
{
    PlainEffect effect(nullptr, 3, 5);
    const AEffect& record = *effect.getAeffect();

    RecordBytes expected{};
    put32(expected, 0, 0x56737450);   // 'VstP'
    put32(expected, 40, 3);           // programs
    put32(expected, 44, 5);           // parameters
    put32(expected, 48, 1);           // inputs
    put32(expected, 52, 2);           // outputs
    put32(expected, 56, 16);          // can replace
    put32(expected, 92, 0x3F800000);  // ioRatio 1.0
    put32(expected, 112, 0x4E6F4566); // 'NoEf'
    put32(expected, 116, 1);          // version

    RecordBytes actual = bytesOf(record);
    for (const auto offset : kPointerOffsets)
        std::memset(actual.data() + offset, 0, sizeof(void*));
    EXPECT_EQ(actual, expected);

    EXPECT_EQ(record.object, static_cast<AudioEffect*>(&effect));
    EXPECT_NE(record.dispatcher, nullptr);
    EXPECT_NE(record.process, nullptr);
    EXPECT_NE(record.setParameter, nullptr);
    EXPECT_NE(record.getParameter, nullptr);
    EXPECT_NE(record.processReplacing, nullptr);
    EXPECT_NE(record.processDoubleReplacing, nullptr);
}

TEST(EffectRecord, FlagSettersChangeOnlyTheirBit)
{
    struct Row
    {
        const char* name;
        std::function<void(PlainEffect&, bool)> set;
        int32_t bit;
    };
    const Row rows[] = {
        {"hasClip", [](PlainEffect& e, bool s) { e.hasClip(s); }, 2},
        {"hasVu", [](PlainEffect& e, bool s) { e.hasVu(s); }, 4},
        {"canMono", [](PlainEffect& e, bool s) { e.canMono(s); }, 8},
        {"canProcessReplacing", [](PlainEffect& e, bool s) { e.canProcessReplacing(s); }, 16},
        {"programsAreChunks", [](PlainEffect& e, bool s) { e.programsAreChunks(s); }, 32},
        {"isSynth", [](PlainEffect& e, bool s) { e.isSynth(s); }, 256},
        {"noTail", [](PlainEffect& e, bool s) { e.noTail(s); }, 512},
        {"wantAsyncOperation", [](PlainEffect& e, bool s) { e.wantAsyncOperation(s); }, 1024},
        {"hasExternalBuffer", [](PlainEffect& e, bool s) { e.hasExternalBuffer(s); }, 2048},
        {"canDoubleReplacing", [](PlainEffect& e, bool s) { e.canDoubleReplacing(s); }, 4096},
    };
    constexpr int32_t kOtherBits = 0x7FFF;
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        PlainEffect effect;
        effect.getAeffect()->flags = kOtherBits;
        row.set(effect, false);
        EXPECT_EQ(effect.getAeffect()->flags, kOtherBits & ~row.bit);
        effect.getAeffect()->flags = 0;
        row.set(effect, true);
        EXPECT_EQ(effect.getAeffect()->flags, row.bit);
    }
}

TEST(EffectRecord, EntriesReachTheObject)
{
    ReachedEffect effect;
    AEffect* record = effect.getAeffect();

    record->setParameter(record, 2, 0.5f);
    EXPECT_EQ(record->getParameter(record, 1), 0.75f);
    record->process(record, nullptr, nullptr, 16);
    record->processReplacing(record, nullptr, nullptr, 32);
    record->processDoubleReplacing(record, nullptr, nullptr, 64);
    EXPECT_EQ(effect.log, "set2=0.500000get1process16replacing32double64");
    EXPECT_EQ(record->dispatcher(record, effIdentify, 0, 0, nullptr, 0.0f), 0x4E764566);
}

TEST(EffectRecord, MissingRecordOrObjectAnswersZero)
{
    PlainEffect effect;
    AEffect orphan = *effect.getAeffect();
    orphan.object = nullptr;

    for (AEffect* record : {static_cast<AEffect*>(nullptr), &orphan})
    {
        EXPECT_EQ(orphan.dispatcher(record, effIdentify, 0, 0, nullptr, 0.0f), 0);
        EXPECT_EQ(orphan.dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 0);
        EXPECT_EQ(orphan.getParameter(record, 0), 0.0f);
        orphan.setParameter(record, 0, 1.0f);
        orphan.process(record, nullptr, nullptr, 1);
        orphan.processReplacing(record, nullptr, nullptr, 1);
        orphan.processDoubleReplacing(record, nullptr, nullptr, 1);
    }
}

TEST(EffectRecord, ExceptionsNeverReachTheHost)
{
    ThrowingEffect effect;
    AEffect* record = effect.getAeffect();

    EXPECT_EQ(record->dispatcher(record, effIdentify, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(record->getParameter(record, 0), 0.0f);
    EXPECT_NO_THROW(record->setParameter(record, 0, 1.0f));
    EXPECT_NO_THROW(record->process(record, nullptr, nullptr, 1));
    EXPECT_NO_THROW(record->processReplacing(record, nullptr, nullptr, 1));
    EXPECT_NO_THROW(record->processDoubleReplacing(record, nullptr, nullptr, 1));
}

TEST(EffectRecord, CloseDeletesTheObjectAndItsEditorOnce)
{
    for (const bool throwOnClose : {false, true})
    {
        SCOPED_TRACE(throwOnClose ? "close throws" : "close returns");
        CountedEffect::destroyed = 0;
        CountedEffect::closed = 0;
        FakeEditor::destroyed = 0;

        auto* effect = new CountedEffect;
        effect->throwOnClose = throwOnClose;
        effect->attachEditor(new FakeEditor);
        AEffect* record = effect->getAeffect();

        EXPECT_EQ(record->dispatcher(record, effClose, 0, 0, nullptr, 0.0f), 1);
        EXPECT_EQ(CountedEffect::closed, 1);
        EXPECT_EQ(CountedEffect::destroyed, 1);
        EXPECT_EQ(FakeEditor::destroyed, 1);
    }
}
