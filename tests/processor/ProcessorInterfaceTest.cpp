#include "processor/LoomcraftAudioProcessor.h"
#include "processor/PluginFactory.h"

#include <gtest/gtest.h>

#include <memory>

TEST(NewProcessor, StartsAtZeroDecibelsFumaToAmbixWithTheFlagRaised)
{
    std::unique_ptr<juce::AudioProcessor> created(createPluginFilter());
    auto& p = dynamic_cast<LoomcraftAudioProcessor&>(*created);
    EXPECT_EQ(p.getName(), "Veridane");
    EXPECT_EQ(p.getParameter(0), 0.9f);
    EXPECT_EQ(p.getParameterText(0), "0.9");
    EXPECT_EQ(p.getParameterDefaultValue(0), 0.9f);
    EXPECT_EQ(p.targetGain.load(), 1.0f);
    EXPECT_EQ(p.idxInputConfig.load(), 0);
    EXPECT_TRUE(p.stateChanged.load());
    EXPECT_EQ(p.getTotalNumInputChannels(), 4);
    EXPECT_EQ(p.getTotalNumOutputChannels(), 4);
    for (auto& level : p.meterLevels)
        EXPECT_EQ(level.load(), 0.0f);
}

TEST(ParameterInterface, IndexesOtherThanZeroReadEmptyAndChangeNothing)
{
    LoomcraftAudioProcessor p;
    p.stateChanged = false;
    p.setParameter(1, 0.2f);
    p.setParameter(-1, 0.2f);
    EXPECT_EQ(p.getParameter(0), 0.9f);
    EXPECT_FALSE(p.stateChanged.load());
    EXPECT_EQ(p.getParameter(1), 0.0f);
    EXPECT_EQ(p.getParameterName(1), "");
    EXPECT_EQ(p.getParameterText(-3), "");
    EXPECT_EQ(p.getParameterDefaultValue(2), 0.0f);
}

TEST(ParameterInterface, StoresValuesUnclampedAndShowsThemAsPlainFloats)
{
    LoomcraftAudioProcessor p;
    p.setParameter(0, 1.5f);
    EXPECT_EQ(p.getParameter(0), 1.5f);
    EXPECT_FLOAT_EQ(p.targetGain.load(), 1000.0f);
    p.setParameter(0, 0.25f);
    EXPECT_EQ(p.getParameterText(0), "0.25");
    p.setParameter(0, 1.0f);
    EXPECT_EQ(p.getParameterText(0), "1");
}

TEST(ProgramInterface, OneFixedDefaultProgram)
{
    LoomcraftAudioProcessor p;
    EXPECT_EQ(p.getNumPrograms(), 1);
    p.setCurrentProgram(3);
    EXPECT_EQ(p.getCurrentProgram(), 0);
    EXPECT_EQ(p.getProgramName(5), "Default");
}

TEST(ChannelInterface, NamesChannelsFromOneAndAcceptsOnlyFourByFour)
{
    LoomcraftAudioProcessor p;
    EXPECT_EQ(p.getInputChannelName(0), "1");
    EXPECT_EQ(p.getOutputChannelName(3), "4");

    juce::AudioProcessor::BusesLayout stereo;
    stereo.inputBuses.add(juce::AudioChannelSet::stereo());
    stereo.outputBuses.add(juce::AudioChannelSet::stereo());
    EXPECT_FALSE(p.checkBusesLayoutSupported(stereo));
    p.setPlayConfigDetails(2, 2, 48000.0, 512);
    EXPECT_EQ(p.getTotalNumInputChannels(), 4);
}

TEST(EditorInterface, HasAnEditorThatCanBeCreated)
{
    juce::ScopedJuceInitialiser_GUI gui;
    LoomcraftAudioProcessor p;
    EXPECT_TRUE(p.hasEditor());
    std::unique_ptr<juce::AudioProcessorEditor> editor(p.createEditorIfNeeded());
    ASSERT_NE(editor, nullptr);
    p.editorBeingDeleted(editor.get());
}
