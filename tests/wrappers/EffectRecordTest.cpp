#include "tests/wrappers/WrapperTestSupport.h"

#include "processor/PluginIdentity.h"

#include <array>
#include <string>

using namespace wrappertest;

namespace
{
/** A host buffer much longer than any answer, filled with a marker, so a write past the
    opcode's own buffer shows. */
struct HostBuffer
{
    static constexpr char marker = 0x55;
    std::array<char, 256> bytes;

    HostBuffer() { bytes.fill(marker); }
    std::string text() const { return bytes.data(); }
    /** Bytes the answer touched, its zero byte included. */
    size_t written() const
    {
        size_t end = bytes.size();
        while (end > 0 && bytes[end - 1] == marker)
            --end;
        return end;
    }
};

/** Texts longer than every host buffer, with a two-byte character where the name is cut. */
class LongTextProcessor : public LoomcraftAudioProcessor
{
public:
    const juce::String getParameterName(int) override
    {
        return juce::String::fromUTF8("Gainnnn\xc3\xa9");
    }
    const juce::String getParameterText(int) override { return "0.123456789"; }
    const juce::String getProgramName(int) override { return "A program name that goes on"; }
};
} // namespace

TEST(WrapperRecord, AnnouncesTheIdentity)
{
    Instance instance;
    const AEffect& record = *instance.effect;
    EXPECT_EQ(record.magic, kEffectMagic);
    EXPECT_EQ(record.numPrograms, 1);
    EXPECT_EQ(record.numParams, 1);
    EXPECT_EQ(record.numInputs, 4);
    EXPECT_EQ(record.numOutputs, 4);
    EXPECT_EQ(record.flags, 49);
    EXPECT_EQ(record.initialDelay, 0);
    EXPECT_EQ(record.uniqueID, 0x50625664);
    EXPECT_EQ(record.version, 100);

    EXPECT_EQ(instance.dispatch(effGetPlugCategory), 5);
    EXPECT_EQ(instance.dispatch(effGetVendorVersion), 100);
    EXPECT_EQ(instance.dispatch(effSetBypass, 0, 1), 1);
}

TEST(WrapperRecord, AnswersCanDoFromTheIdentityTableOnly)
{
    Instance instance;
    for (const auto& row : veridane::identity::vstCanDoAnswers)
    {
        std::string question(row.question);
        SCOPED_TRACE(question);
        EXPECT_EQ(instance.dispatch(effCanDo, 0, 0, question.data()), row.answer);
    }
    char notUtf8[] = {'\xff', '\xfe', 0};
    for (char* unknown : {const_cast<char*>("bypass"), const_cast<char*>("ReceiveVstEvents"),
                          const_cast<char*>(""), notUtf8, static_cast<char*>(nullptr)})
    {
        SCOPED_TRACE(unknown != nullptr ? unknown : "null");
        EXPECT_EQ(instance.dispatch(effCanDo, 0, 0, unknown), 0);
    }
}

TEST(WrapperRecord, TextsFitEachOpcodesBufferAndAreCutOnCharacters)
{
    const struct
    {
        const char* name;
        bool longTexts;
        int32_t opcode;
        int32_t index;
        size_t maxLength; // bytes before the zero byte
        const char* expected;
    } rows[] = {
        {"effect name", false, effGetEffectName, 0, 63, "Veridane"},
        {"vendor", false, effGetVendorString, 0, 63, "Plumbrook"},
        {"product", false, effGetProductString, 0, 63, "Veridane"},
        {"parameter name", false, effGetParamName, 0, 8, "Gain"},
        {"parameter label", false, effGetParamLabel, 0, 8, ""},
        {"parameter display", false, effGetParamDisplay, 0, 8, "0.9"},
        {"unknown parameter", false, effGetParamName, 1, 8, ""},
        {"program name", false, effGetProgramName, 0, 24, "Default"},
        {"indexed program name", false, effGetProgramNameIndexed, 0, 24, "Default"},
        // A cut at 8 bytes would split the accented letter: it goes whole.
        {"long parameter name", true, effGetParamName, 0, 8, "Gainnnn"},
        {"long parameter display", true, effGetParamDisplay, 0, 8, "0.123456"},
        {"long program name", true, effGetProgramName, 0, 24, "A program name that goes"},
        {"long indexed program name", true, effGetProgramNameIndexed, 0, 24,
         "A program name that goes"},
    };
    Instance plain;
    Instance verbose(std::make_unique<LongTextProcessor>());
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        HostBuffer buffer;
        (row.longTexts ? verbose : plain).dispatch(row.opcode, row.index, 0, buffer.bytes.data());
        EXPECT_LE(buffer.written(), row.maxLength + 1);
        EXPECT_EQ(buffer.text(), row.expected);
    }
}

TEST(WrapperRecord, AcceptsOnlyFourByFourSpeakerArrangements)
{
    Instance instance;
    VstSpeakerArrangement four{};
    four.numChannels = 4;
    VstSpeakerArrangement two{};
    two.numChannels = 2;
    const auto asValue = [](VstSpeakerArrangement* a) { return reinterpret_cast<intptr_t>(a); };

    EXPECT_EQ(instance.dispatch(effSetSpeakerArrangement, 0, asValue(&four), &four), 1);
    EXPECT_EQ(instance.dispatch(effSetSpeakerArrangement, 0, asValue(&two), &four), 0);
    EXPECT_EQ(instance.dispatch(effSetSpeakerArrangement, 0, asValue(&four), &two), 0);
    EXPECT_EQ(instance.dispatch(effSetSpeakerArrangement, 0, 0, &four), 0);
    EXPECT_EQ(instance.dispatch(effSetSpeakerArrangement, 0, asValue(&four), nullptr), 0);
}
