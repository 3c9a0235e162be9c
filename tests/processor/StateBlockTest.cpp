#include "processor/StateBlock.h"

#include "ProcessorTestSupport.h"

#include <gtest/gtest.h>

#include <pthread.h>
#include <time.h>

#include <chrono>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

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

namespace
{
/** What a restore should leave: a value, or the one the processor held before. */
struct Expected
{
    std::optional<float> gain;
    std::optional<int> direction;
};

constexpr float gainBefore = 0.35f;
constexpr int directionBefore = 5;

/** A processor holding gainBefore and directionBefore, its change flag clear. */
std::unique_ptr<LoomcraftAudioProcessor> processorWithKnownState()
{
    auto p = std::make_unique<LoomcraftAudioProcessor>();
    p->setParameter(0, gainBefore);
    p->setConversionMode(directionBefore);
    p->stateChanged = false;
    return p;
}

void expectRestored(LoomcraftAudioProcessor& p, const Expected& expected)
{
    const float gain = p.getParameter(0);
    const float wanted = expected.gain.value_or(gainBefore);
    EXPECT_EQ(veridane::test::bits(gain), veridane::test::bits(wanted)) << gain;
    EXPECT_EQ(p.idxInputConfig.load(), expected.direction.value_or(directionBefore));
    EXPECT_TRUE(p.stateChanged.load());
}
} // namespace

TEST(StateBlockRestoring, KeepsEveryFormTheFrameworkReaderAccepted)
{
    struct Row
    {
        const char* name;
        std::string text;
        Expected expected;
    };
    const std::vector<Row> rows{
        {"both values",
         "<Root><Gain>0.5</Gain><idxInputConfig>1</idxInputConfig></Root>",
         {0.5f, 1}},
        {"declaration and line breaks",
         "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n\r\n<Root><Gain>0.25</Gain></Root>",
         {0.25f, {}}},
        {"processing instruction before the root",
         "<?app x?><Root><Gain>0.5</Gain></Root>",
         {0.5f, {}}},
        {"document type without references",
         "<!DOCTYPE Root [<!ELEMENT Root ANY>]><Root><Gain>0.5</Gain></Root>",
         {0.5f, {}}},
        {"comments around and inside",
         "<!-- a --><Root><!-- b --><Gain>0.<!-- c -->5</Gain></Root>",
         {0.5f, {}}},
        {"nested text concatenated", "<Root><Gain>0.<b>2</b>5</Gain></Root>", {0.25f, {}}},
        {"whitespace-only pieces dropped",
         "<Root><idxInputConfig>1<b/> <c/>2</idxInputConfig></Root>",
         {{}, 12}},
        {"character data kept whole",
         "<Root><idxInputConfig>1<![CDATA[ ]]>2</idxInputConfig><Gain><![CDATA[0.125]]></Gain>"
         "</Root>",
         {0.125f, 1}},
        {"references", "<Root a=\"&lt;&AMP;&#65;\"><Gain>&#48;.&#x35;</Gain></Root>", {0.5f, {}}},
        {"attributes on the children",
         "<Root><Gain unit='norm' x = \"1\">0.5</Gain><idxInputConfig a=\"\"/></Root>",
         {0.5f, 0}},
        {"empty elements restore zero",
         "<Root><Gain/><idxInputConfig></idxInputConfig></Root>",
         {0.0f, 0}},
        {"an unquoted attribute ends the element",
         "<Root><Gain a=1>0.5</Gain><idxInputConfig>1</idxInputConfig></Root>",
         {0.0f, {}}},
        {"close tags are not matched by name",
         "<Root><Gain>0.5</x><idxInputConfig>1</y></z>",
         {0.5f, 1}},
        {"a close tag without its end closes everything", "<Root><Gain>0.<b>5</b", {0.5f, {}}},
        {"self-closing root", "<Root/>", {{}, {}}},
        {"root cut inside its tag", "<Root a=\"", {{}, {}}},
        {"anything after the root",
         "<Root><Gain>0.5</Gain></Root>\xff\xfe<?x?>&bad;<!DOCTYPE",
         {0.5f, {}}},
        {"text ends at its first zero byte",
         std::string("<Root><Gain>0.5</Gain></Root>\0<Gain>0.7", 39),
         {0.5f, {}}},
        {"characters beyond ASCII",
         "<Root note=\"\xc3\xa9\"><Gain>0.5</Gain><x>\xe2\x82\xac\xf0\x9f\x8e\xa7</x></Root>",
         {0.5f, {}}},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        auto p = processorWithKnownState();
        restore(*p, blockWithText(row.text));
        expectRestored(*p, row.expected);
    }
}

TEST(StateBlockRestoring, ReadsGainWithTheFrameworkNumberRules)
{
    struct Row
    {
        const char* text;
        float gain;
    };
    // Unlike the framework, what reads as no finite number restores 0, as "abc" does.
    for (const Row& row :
         {Row{" \t0.75", 0.75f}, Row{"+0.25", 0.25f}, Row{"-1.5", -1.5f}, Row{"inf", 0.0f},
          Row{"-INF", 0.0f}, Row{"nan", 0.0f}, Row{"0x10", 0.0f}, Row{"abc", 0.0f}, Row{"", 0.0f},
          Row{".5", 0.5f}, Row{"5.", 5.0f}, Row{"1e", 1.0f}, Row{"1e+", 1.0f}, Row{"2E-1", 0.2f},
          Row{"1,5", 1.0f}, Row{"-0.0", -0.0f},
          // Unlike the framework, a zero keeps its sign: "-0" is how -0 is saved.
          Row{"-0", -0.0f}, Row{"-00e5", -0.0f}, Row{"1e-400", 0.0f}, Row{"1e39", 0.0f},
          Row{"000000000000000000000.5", 0.5f},
          // Only 18 significant digits count; the rest only scale.
          Row{"0.1000000000000000009999", 0.1f},
          Row{"123456789012345678999", 1.23456789012345678e20f}, Row{"1e+9999999999", 0.0f},
          Row{"-1e+99999999999999999999", 0.0f}, Row{"1e-9999999999", 0.0f}})
    {
        SCOPED_TRACE(row.text);
        auto p = processorWithKnownState();
        restore(*p, blockWithText(std::string("<Root><Gain>") + row.text + "</Gain></Root>"));
        expectRestored(*p, {row.gain, {}});
        EXPECT_TRUE(std::isfinite(p->targetGain.load()));
    }
}

namespace
{
/** Smaller than most hosts give their threads: the reader must not need the stack to grow with
    the text. */
constexpr std::size_t smallStack = 256 * 1024;
constexpr auto restoreTimeLimit = std::chrono::seconds(3);

struct RestoreJob
{
    LoomcraftAudioProcessor* processor;
    juce::MemoryBlock block;
};

/** Restores on a thread with a small stack and answers whether it returned in time. A restore
    that never returns leaves its processor and thread behind. */
bool restoreOnSmallStackInTime(std::unique_ptr<LoomcraftAudioProcessor>& processor,
                               const juce::MemoryBlock& block)
{
    auto* job = new RestoreJob{processor.get(), block};
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, smallStack);
    pthread_t thread;
    const int created = pthread_create(
        &thread, &attributes,
        [](void* data) -> void*
        {
            auto* j = static_cast<RestoreJob*>(data);
            j->processor->setStateInformation(j->block.getData(), int(j->block.getSize()));
            return nullptr;
        },
        job);
    pthread_attr_destroy(&attributes);
    if (created != 0)
        return false;

    timespec deadline{};
    clock_gettime(CLOCK_REALTIME, &deadline);
    deadline.tv_sec += restoreTimeLimit.count();
    if (pthread_timedjoin_np(thread, nullptr, &deadline) != 0)
    {
        pthread_detach(thread);
        (void)processor.release();
        return false;
    }
    delete job;
    return true;
}

std::string repeated(std::string_view piece, int count)
{
    std::string text;
    text.reserve(piece.size() * std::size_t(count));
    for (int i = 0; i < count; ++i)
        text += piece;
    return text;
}
} // namespace

TEST(StateBlockRestoring, HostileBlocksReturnPromptlyAndRefusedOnesChangeNothing)
{
    struct Row
    {
        const char* name;
        std::string text;
        std::optional<Expected> expected; // nothing: refused
    };
    const int deep = 100000;
    const std::vector<Row> rows{
        // The framework's parser loops for ever on these.
        {"processing instruction inside an element", "<a><?x?>b</a>", {}},
        {"processing instruction inside the gain", "<Root><Gain>0.5<?x y?>1</Gain></Root>", {}},
        // ... expands these without bound, or recurses until the stack ends.
        {"entity referring to itself", "<!DOCTYPE a [<!ENTITY e \"&e;\">]><a>&e;</a>", {}},
        {"entity doubling itself",
         "<!DOCTYPE a [<!ENTITY b \"&b;&b;\">]><a><Gain>&b;</Gain></a>",
         {}},
        {"external entity", "<!DOCTYPE a [<!ENTITY e SYSTEM \"a\">]><a x=\"&e;\"/>", {}},
        {"undeclared entity", "<Root><Gain>&one;</Gain></Root>", {}},
        {"elements nested deeply",
         "<Root><Gain>" + repeated("<a>", deep) + "0.5" + repeated("</a>", deep) + "</Gain></Root>",
         Expected{0.5f, {}}},
        {"elements nested deeply, never closed", "<Root>" + repeated("<a>", deep), {}},
        // ... reads past the text on these.
        {"text ending inside a hexadecimal reference", "<Root><Gain>&#x", {}},
        {"text ending inside a decimal reference", "<Root><Gain>1&#12", {}},
        {"reference to no character", "<Root><Gain>&#x110000;</Gain></Root>", {}},
        {"reference to character zero", "<Root><Gain>&#0;1</Gain></Root>", {}},
        {"lead byte at the end of the text", "<Root><Gain>\xf0", {}},
        {"lead byte after an open tag", "<Root>\xe2<Gain>0.5</Gain></Root>", {}},
        {"overlong form of '/'",
         "<Root><Gain>0.5<\xc0\xaf"
         "Gain></Root>",
         {}},
        {"encoded surrogate", "<Root><Gain>\xed\xa0\x80</Gain></Root>", {}},
        // ... overflows a signed integer on these.
        {"huge exponent", "<Root><Gain>1e+9999999999</Gain></Root>", Expected{0.0f, {}}},
        {"huge negative exponent", "<Root><Gain>5e-99999999999</Gain></Root>", Expected{0.0f, {}}},
        // ... needs time that grows with the square of the text on these.
        {"comments that never end, inside a tag",
         "<Root <!--" + repeated("a<!--=<!--\"<!--", 50000), Expected{}},
        {"ampersands without semicolon", "<Root><Gain>" + repeated("&", 200000), {}},
        {"close tag without end under deep nesting",
         "<Root>" + repeated("<a>", deep) + "</" + repeated("x", deep), Expected{}},
        {"a megabyte of elements", "<Root>" + repeated("<x/>", 250000) + "<Gain>0.5</Gain></Root>",
         Expected{0.5f, {}}},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        auto p = processorWithKnownState();
        ASSERT_TRUE(restoreOnSmallStackInTime(p, blockWithText(row.text)))
            << "the restore did not return within " << restoreTimeLimit.count() << " s";
        if (row.expected)
        {
            expectRestored(*p, *row.expected);
            continue;
        }
        EXPECT_EQ(p->getParameter(0), gainBefore);
        EXPECT_EQ(p->idxInputConfig.load(), directionBefore);
        EXPECT_FALSE(p->stateChanged.load());
    }
}
