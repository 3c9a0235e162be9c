#include "processor/StateBlock.h"

#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace
{
juce::MemoryBlock blockWithText(const std::string& text,
                                std::optional<int> declaredLength = std::nullopt)
{
    juce::MemoryOutputStream out;
    out.writeInt(0x21324356);
    out.writeInt(declaredLength.value_or(int(text.size())));
    out.write(text.data(), text.size());
    out.writeByte(0);
    return out.getMemoryBlock();
}

juce::MemoryBlock savedState(LoomcraftAudioProcessor& p)
{
    juce::MemoryBlock block;
    p.getStateInformation(block);
    return block;
}

void restore(LoomcraftAudioProcessor& p, const juce::MemoryBlock& block)
{
    p.setStateInformation(block.getData(), int(block.getSize()));
}

std::string textOf(const juce::MemoryBlock& block)
{
    return std::string(static_cast<const char*>(block.getData()) + 8, block.getSize() - 9);
}
} // namespace

TEST(StateBlockWriting, DefaultStateIsTheExact72ByteBlock)
{
    LoomcraftAudioProcessor p;
    const auto block = savedState(p);
    const std::string text = "<Root><Gain>0.9</Gain><idxInputConfig>0</idxInputConfig></Root>";

    ASSERT_EQ(block.getSize(), 72u);
    const auto* bytes = static_cast<const unsigned char*>(block.getData());
    EXPECT_EQ(std::vector<unsigned char>(bytes, bytes + 8),
              (std::vector<unsigned char>{0x56, 0x43, 0x32, 0x21, 63, 0, 0, 0}));
    EXPECT_EQ(textOf(block), text);
    EXPECT_EQ(bytes[71], 0);
}

TEST(StateBlockWriting, GainUsesTheShortestFloatTextAndDirectionItsSign)
{
    struct Row
    {
        float gain;
        int direction;
        const char* text;
    };
    for (const Row& row :
         {Row{0.35f, 1, "<Root><Gain>0.35</Gain><idxInputConfig>1</idxInputConfig></Root>"},
          Row{1.0f, -1, "<Root><Gain>1</Gain><idxInputConfig>-1</idxInputConfig></Root>"},
          Row{0.0f, 7, "<Root><Gain>0</Gain><idxInputConfig>7</idxInputConfig></Root>"}})
    {
        SCOPED_TRACE(row.text);
        const auto block = veridane::writeStateBlock(row.gain, row.direction);
        EXPECT_EQ(textOf(block), row.text);
        EXPECT_EQ(block.getSize(), std::strlen(row.text) + 9);
    }
}

TEST(StateBlockRestoring, RoundTripsGainAndDirection)
{
    LoomcraftAudioProcessor source, target;
    source.setParameter(0, 0.25f);
    source.setConversionMode(1);
    restore(target, savedState(source));
    EXPECT_EQ(target.getParameter(0), 0.25f);
    EXPECT_EQ(target.idxInputConfig.load(), 1);
    EXPECT_EQ(target.targetPermutation.load(), 1.0f);
    EXPECT_EQ(target.targetWeightW.load(), 0.70710677f);
}

TEST(StateBlockRestoring, MatchesTagsIgnoringCaseAndLeavesMissingValuesAlone)
{
    LoomcraftAudioProcessor p;
    p.setConversionMode(1);
    p.stateChanged = false;
    restore(p, blockWithText("<Root><GAIN>0.5</GAIN></Root>"));
    EXPECT_EQ(p.getParameter(0), 0.5f);
    EXPECT_EQ(p.idxInputConfig.load(), 1);
    EXPECT_TRUE(p.stateChanged.load());
}

TEST(StateBlockRestoring, IgnoresTheRootTag)
{
    LoomcraftAudioProcessor p;
    restore(p, blockWithText("<Other><idxInputConfig>1</idxInputConfig></Other>"));
    EXPECT_EQ(p.idxInputConfig.load(), 1);
}

TEST(StateBlockRestoring, ReadsDirectionWithAtoiRules)
{
    struct Row
    {
        const char* text;
        int direction;
    };
    for (const Row& row : {Row{" 1x", 1}, Row{"abc", 0}, Row{"-1", -1}, Row{"+1", 1}, Row{"7", 7},
                           Row{"-2147483648", -2147483647 - 1}, Row{"4294967297", 1}})
    {
        SCOPED_TRACE(row.text);
        LoomcraftAudioProcessor p;
        p.setConversionMode(5);
        restore(p, blockWithText(std::string("<Root><idxInputConfig>") + row.text +
                                 "</idxInputConfig></Root>"));
        EXPECT_EQ(p.idxInputConfig.load(), row.direction);
    }
}

TEST(StateBlockRestoring, NonNumericGainRestoresZeroAndHugeGainStaysFinite)
{
    LoomcraftAudioProcessor p;
    restore(p, blockWithText("<Root><Gain>abc</Gain></Root>"));
    EXPECT_EQ(p.getParameter(0), 0.0f);
    restore(p, blockWithText("<Root><Gain>1e9</Gain></Root>"));
    EXPECT_EQ(p.getParameter(0), 1e9f);
    EXPECT_EQ(p.targetGain.load(), 0.0f);
}

TEST(StateBlockRestoring, LastOfRepeatedTagsWins)
{
    LoomcraftAudioProcessor p;
    restore(p, blockWithText(
                   "<Root><Gain>0.1</Gain><Gain>0.7</Gain>"
                   "<idxInputConfig>1</idxInputConfig><idxInputConfig>0</idxInputConfig></Root>"));
    EXPECT_EQ(p.getParameter(0), 0.7f);
    EXPECT_EQ(p.idxInputConfig.load(), 0);
}

TEST(StateBlockRestoring, LengthBeyondTheDataReadsOnlyTheBytesPresent)
{
    LoomcraftAudioProcessor p;
    const std::string text = "<Root><Gain>0.5</Gain></Root>";
    juce::MemoryOutputStream out;
    out.writeInt(0x21324356);
    out.writeInt(1000);
    out.write(text.data(), text.size());
    restore(p, out.getMemoryBlock());
    EXPECT_EQ(p.getParameter(0), 0.5f);
}

TEST(StateBlockRestoring, RejectsMalformedBlocksWithoutTouchingAnything)
{
    const auto good = blockWithText("<Root><Gain>0.5</Gain></Root>");
    auto badMagic = good;
    static_cast<char*>(badMagic.getData())[0] = 0x57;
    std::vector<std::pair<std::string, juce::MemoryBlock>> cases{
        {"eight bytes", juce::MemoryBlock(good.getData(), 8)},
        {"other magic", badMagic},
        {"length zero", blockWithText("<Root><Gain>0.5</Gain></Root>", 0)},
        {"negative length", blockWithText("<Root><Gain>0.5</Gain></Root>", -5)},
        {"not xml", blockWithText("Gain=0.5")},
    };
    for (const auto& [name, block] : cases)
    {
        SCOPED_TRACE(name);
        LoomcraftAudioProcessor p;
        p.stateChanged = false;
        restore(p, block);
        EXPECT_EQ(p.getParameter(0), 0.9f);
        EXPECT_FALSE(p.stateChanged.load());
    }

    LoomcraftAudioProcessor p;
    p.stateChanged = false;
    p.setStateInformation(nullptr, 72);
    EXPECT_FALSE(p.stateChanged.load());
}

TEST(StateBlockRestoring, EveryTruncatedPrefixRestoresOnlyValuesItHoldsWhole)
{
    LoomcraftAudioProcessor source;
    source.setParameter(0, 0.25f);
    source.setConversionMode(1);
    const auto full = savedState(source);

    for (size_t size = 0; size < full.getSize(); ++size)
    {
        SCOPED_TRACE(size);
        LoomcraftAudioProcessor p;
        p.setStateInformation(full.getData(), int(size));
        // The lenient XML reader may keep the complete leading elements of a cut text.
        const float gain = p.getParameter(0);
        const int direction = p.idxInputConfig.load();
        EXPECT_TRUE(gain == 0.9f || gain == 0.25f) << gain;
        EXPECT_TRUE(direction == 0 || direction == 1) << direction;
        if (size >= full.getSize() - 1)
            EXPECT_TRUE(gain == 0.25f && direction == 1);
    }
}

TEST(StateBlockRestoring, ReadsTheFrameworkFormWithAnXmlDeclaration)
{
    LoomcraftAudioProcessor p;
    juce::XmlElement root("Root");
    root.createNewChildElement("Gain")->addTextElement("0.35");
    root.createNewChildElement("idxInputConfig")->addTextElement("1");
    juce::MemoryBlock block;
    juce::AudioProcessor::copyXmlToBinary(root, block);
    restore(p, block);
    EXPECT_EQ(p.getParameter(0), 0.35f);
    EXPECT_EQ(p.idxInputConfig.load(), 1);
}
