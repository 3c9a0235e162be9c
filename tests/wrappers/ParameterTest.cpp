#include "tests/wrappers/CountingProcessor.h"
#include "tests/wrappers/WrapperTestSupport.h"

#include <atomic>
#include <climits>
#include <string>

using namespace wrappertest;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

TEST(WrapperParameters, HostValuesReachOnlyTheProcessorsOwnIndex)
{
    Instance instance;
    instance.effect->setParameter(instance.effect, 0, 0.25f);
    EXPECT_EQ(instance.processor().gainValue.load(), 0.25f);
    EXPECT_EQ(instance.effect->getParameter(instance.effect, 0), 0.25f);
    EXPECT_EQ(instance.dispatch(effCanBeAutomated, 0), 1);

    for (const int32_t index : {1, -1, INT32_MAX})
    {
        SCOPED_TRACE(index);
        instance.effect->setParameter(instance.effect, index, 0.75f);
        EXPECT_EQ(instance.effect->getParameter(instance.effect, index), 0.0f);
        EXPECT_EQ(instance.dispatch(effCanBeAutomated, index), 0);
    }
    EXPECT_EQ(instance.processor().gainValue.load(), 0.25f);
}

TEST(WrapperParameters, StringToParameterTakesOnlyNumbers)
{
    const struct
    {
        const char* text;
        intptr_t answer;
        float value; // afterwards; it starts at 0.9
    } rows[] = {
        {"0.25", 1, 0.25f}, {" 0.5 ", 1, 0.5f}, {"+0.75", 1, 0.75f}, {"1e-1", 1, 0.1f},
        {"abc", 0, 0.9f},   {"", 0, 0.9f},      {"0.5dB", 0, 0.9f},  {"nan", 0, 0.9f},
        {"inf", 0, 0.9f},   {"0,5", 0, 0.9f},   {"-", 0, 0.9f},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.text);
        Instance instance;
        std::string text = row.text;
        EXPECT_EQ(instance.dispatch(effString2Parameter, 0, 0, text.data()), row.answer);
        EXPECT_EQ(instance.processor().gainValue.load(), row.value);
    }

    Instance instance;
    std::string text = "0.25";
    EXPECT_EQ(instance.dispatch(effString2Parameter, 0, 0, nullptr), 0);
    EXPECT_EQ(instance.dispatch(effString2Parameter, 1, 0, text.data()), 0);
    EXPECT_EQ(instance.processor().gainValue.load(), 0.9f);
}

TEST(WrapperParameters, ProcessorChangesAndGesturesReachTheHostWithoutEchoing)
{
    RecordingHost::reset();
    auto owned = std::make_unique<CountingProcessor>();
    auto& processor = *owned;
    Instance instance(std::move(owned));
    EXPECT_TRUE(RecordingHost::callsWith(audioMasterAutomate).empty());

    processor.timesSet = 0;
    processor.beginParameterChangeGesture(0);
    processor.setParameterNotifyingHost(0, 0.3f);
    processor.endParameterChangeGesture(0);

    const auto begins = RecordingHost::callsWith(audioMasterBeginEdit);
    const auto automations = RecordingHost::callsWith(audioMasterAutomate);
    const auto ends = RecordingHost::callsWith(audioMasterEndEdit);
    ASSERT_EQ(begins.size(), 1u);
    ASSERT_EQ(automations.size(), 1u);
    ASSERT_EQ(ends.size(), 1u);
    EXPECT_EQ(begins[0].index, 0);
    EXPECT_EQ(automations[0].index, 0);
    EXPECT_EQ(automations[0].opt, 0.3f);
    EXPECT_EQ(automations[0].effect, instance.effect);
    EXPECT_EQ(ends[0].index, 0);
    // Set once by the change itself; telling the host did not set it again.
    EXPECT_EQ(processor.timesSet.load(), 1);
}

TEST(WrapperParameters, HostChangesAreNotReportedBackToTheHost)
{
    RecordingHost::reset();
    Instance instance;
    instance.effect->setParameter(instance.effect, 0, 0.4f);
    std::string text = "0.6";
    instance.dispatch(effString2Parameter, 0, 0, text.data());

    EXPECT_TRUE(RecordingHost::callsWith(audioMasterAutomate).empty());
    EXPECT_EQ(instance.processor().gainValue.load(), 0.6f);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
