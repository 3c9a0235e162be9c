#include "editor/LoomcraftAudioProcessorEditor.h"

#include "editor/PanelStyle.h"

#include "editor/EmbeddedResources.h"
#include "processor/ConversionDirection.h"
#include "processor/LoomcraftAudioProcessor.h"

namespace
{
using veridane::resources::Resource;

juce::Image loadImage(const Resource& resource)
{
    return juce::ImageCache::getFromMemory(resource.data, resource.size);
}

constexpr int gainParameterIndex = 0;

// Layout of the window, in pixels from its top-left corner.
const juce::Rectangle<int> gearBounds{418, 5, 18, 18};
constexpr int meterTop = 64;
constexpr int meterWidth = 10;
constexpr int meterHeight = 143;
constexpr std::array<int, LoomcraftAudioProcessor::numMeters> meterX{50,  69,  89,  108,
                                                                     325, 345, 364, 383};
// Below the 233-pixel window on purpose: the gain is set from the host only.
const juce::Rectangle<int> gainSliderBounds{174, 250, 114, 70};
const juce::Rectangle<int> logoBounds{0, 0, 208, 28};

// Black patches that hide the artwork under the order strips (not quite symmetric).
const juce::Rectangle<int> outputStripPatch{314, 211, 100, 14};
const juce::Rectangle<int> inputStripPatch{39, 210, 100, 14};
const juce::Rectangle<int> inputOrderBounds{49, 212, 69, 9};
const juce::Rectangle<int> outputOrderBounds{324, 212, 69, 9};
const juce::Rectangle<int> inputNameBounds{88, 38, 37, 14};
const juce::Rectangle<int> outputNameBounds{364, 38, 37, 14};

constexpr float gearOpacityNormal = 0.85f;
constexpr float gearOpacityOver = 1.0f;
constexpr float gearOpacityDown = 0.5f;
const juce::Colour noOverlay{0x00000000};

// The gain knob works in dB: -90 to +10 in whole steps, skewed towards the top.
constexpr double minGainDb = -90.0;
constexpr double maxGainDb = 10.0;
constexpr double gainStepDb = 1.0;
constexpr double gainSkew = 6.5;
constexpr double gainDoubleClickDb = 0.0;
constexpr int gainTextBoxWidth = 45;
constexpr int gainTextBoxHeight = 15;
constexpr float gainRangeDb = 100.0f;
constexpr float gainOffsetDb = 90.0f;

using veridane::panel::allEdgesConnected;
} // namespace

LoomcraftAudioProcessorEditor::LoomcraftAudioProcessorEditor(LoomcraftAudioProcessor& owner)
    : juce::AudioProcessorEditor(owner), loomcraftProcessor(owner)
{
    JUCE_ASSERT_MESSAGE_THREAD
    gearButton = std::make_unique<juce::ImageButton>("engrenage");
    addAndMakeVisible(gearButton.get());
    gearButton->setButtonText(TRANS("new button"));
    gearButton->addListener(this);
    const auto gear = loadImage(veridane::resources::gearPng);
    gearButton->setImages(false, true, true, gear, gearOpacityNormal, noOverlay, gear,
                          gearOpacityOver, noOverlay, gear, gearOpacityDown, noOverlay, 0.0f);

    for (int i = 0; i < static_cast<int>(firstMeters.size()); ++i)
        firstMeters[static_cast<size_t>(i)] = makeMeter(i);

    gainSlider = std::make_unique<juce::Slider>("sliderGain");
    addAndMakeVisible(gainSlider.get());
    gainSlider->setRange(minGainDb, maxGainDb, gainStepDb);
    gainSlider->setSliderStyle(juce::Slider::RotaryVerticalDrag);
    gainSlider->setTextBoxStyle(juce::Slider::TextBoxLeft, false, gainTextBoxWidth,
                                gainTextBoxHeight);
    gainSlider->setColour(juce::Slider::backgroundColourId, juce::Colour(0x00000000));
    gainSlider->setColour(juce::Slider::thumbColourId, juce::Colour(0xffeeeeee));
    gainSlider->setColour(juce::Slider::rotarySliderFillColourId, juce::Colour(0x7ffdfdfd));
    gainSlider->setColour(juce::Slider::rotarySliderOutlineColourId, juce::Colour(0xff797979));
    gainSlider->setColour(juce::Slider::textBoxTextColourId, juce::Colour(0xffd7d7d7));
    gainSlider->setColour(juce::Slider::textBoxBackgroundColourId, juce::Colour(0x5092928d));
    gainSlider->setColour(juce::Slider::textBoxHighlightColourId, juce::Colour(0x3affffff));
    gainSlider->setColour(juce::Slider::textBoxOutlineColourId, juce::Colour(0x00b9b9b9));
    gainSlider->addListener(this);
    gainSlider->setSkewFactor(gainSkew);

    logoButton = std::make_unique<juce::TextButton>("new button");
    addAndMakeVisible(logoButton.get());
    logoButton->setButtonText(juce::String());
    logoButton->setConnectedEdges(allEdgesConnected);
    logoButton->addListener(this);
    logoButton->setColour(juce::TextButton::buttonColourId, juce::Colour(0x00bbbbff));
    logoButton->setColour(juce::TextButton::buttonOnColourId, juce::Colour(0x48e8e8e8));

    for (int i = 0; i < static_cast<int>(lastMeters.size()); ++i)
        lastMeters[static_cast<size_t>(i)] = makeMeter(static_cast<int>(firstMeters.size()) + i);

    backgroundImage = loadImage(veridane::resources::backgroundPng);
    // Placeholders until the direction is read below.
    inputOrderImage = outputOrderImage = loadImage(veridane::resources::orderFumaPng);
    inputNameImage = outputNameImage = loadImage(veridane::resources::captionAmbixPng);

    setSize(windowWidth, windowHeight);

    optionPanel = std::make_unique<OptionGUI>(loomcraftProcessor);
    addChildComponent(optionPanel.get());
    aboutPanel = std::make_unique<WelcomeGUI>();
    addChildComponent(aboutPanel.get());

    gainSlider->setTextValueSuffix(" dB");
    // The first tick brings the knob in line with the parameter.
    loomcraftProcessor.stateChanged.store(true, std::memory_order_release);
    startTimer(refreshIntervalMs);

    shownMode = loomcraftProcessor.idxInputConfig.load(std::memory_order_relaxed);
    loadModeImages(shownMode);

    gainSlider->setDoubleClickReturnValue(true, gainDoubleClickDb);

    altLookAndFeel->install();
    // Children made before the install took their look from the previous default (the combo box
    // its text and arrow layout); bring them in line now rather than at the host's reparenting.
    sendLookAndFeelChange();
    logoButton->setLookAndFeel(&transparentLookAndFeel);
    gainSlider->setLookAndFeel(&transparentLookAndFeel);
}

LoomcraftAudioProcessorEditor::~LoomcraftAudioProcessorEditor()
{
    stopTimer();
    optionPanel.reset();
    gearButton.reset();
    for (auto& m : firstMeters)
        m.reset();
    gainSlider.reset();
    logoButton.reset();
    for (auto& m : lastMeters)
        m.reset();
}

std::unique_ptr<VuMeter> LoomcraftAudioProcessorEditor::makeMeter(int index)
{
    auto newMeter = std::make_unique<VuMeter>(loomcraftProcessor, index);
    addAndMakeVisible(newMeter.get());
    newMeter->setName("vuMeter");
    return newMeter;
}

VuMeter& LoomcraftAudioProcessorEditor::meter(int index) const
{
    const auto first = static_cast<int>(firstMeters.size());
    return index < first ? *firstMeters[static_cast<size_t>(index)]
                         : *lastMeters[static_cast<size_t>(index - first)];
}

void LoomcraftAudioProcessorEditor::loadModeImages(std::int32_t mode)
{
    const auto fumaOrder = loadImage(veridane::resources::orderFumaPng);
    const auto ambixOrder = loadImage(veridane::resources::orderAmbixPng);
    const auto fumaCaption = loadImage(veridane::resources::captionFumaPng);
    const auto ambixCaption = loadImage(veridane::resources::captionAmbixPng);

    const bool ambixIn = mode == veridane::ambixToFuma;
    inputOrderImage = ambixIn ? ambixOrder : fumaOrder;
    outputOrderImage = ambixIn ? fumaOrder : ambixOrder;
    inputNameImage = ambixIn ? ambixCaption : fumaCaption;
    outputNameImage = ambixIn ? fumaCaption : ambixCaption;
}

void LoomcraftAudioProcessorEditor::paint(juce::Graphics& g)
{
    auto drawWhole = [&g](const juce::Image& image, juce::Rectangle<int> area)
    {
        g.setColour(juce::Colours::black);
        g.drawImage(image, area.getX(), area.getY(), area.getWidth(), area.getHeight(), 0, 0,
                    image.getWidth(), image.getHeight(), false);
    };

    g.fillAll(juce::Colour(0xff000000));
    drawWhole(backgroundImage, getLocalBounds());

    g.setColour(juce::Colours::black);
    g.fillRect(outputStripPatch);
    g.setColour(juce::Colours::black);
    g.fillRect(inputStripPatch);

    drawWhole(inputOrderImage, inputOrderBounds);
    drawWhole(outputOrderImage, outputOrderBounds);
    drawWhole(inputNameImage, inputNameBounds);
    drawWhole(outputNameImage, outputNameBounds);
}

void LoomcraftAudioProcessorEditor::resized()
{
    gearButton->setBounds(gearBounds);
    for (int i = 0; i < LoomcraftAudioProcessor::numMeters; ++i)
    {
        meter(i).setBounds(meterX[static_cast<size_t>(i)], meterTop, meterWidth, meterHeight);
        if (i == static_cast<int>(firstMeters.size()) - 1)
        {
            gainSlider->setBounds(gainSliderBounds);
            logoButton->setBounds(logoBounds);
        }
    }
}

void LoomcraftAudioProcessorEditor::timerCallback()
{
    for (int i = 0; i < LoomcraftAudioProcessor::numMeters; ++i)
        meter(i).repaint();

    // Cleared before the values are read: a change that lands meanwhile raises the flag again
    // and is picked up on the next tick instead of being lost.
    if (!loomcraftProcessor.stateChanged.exchange(false, std::memory_order_acquire))
        return;

    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    const float gainDb =
        loomcraftProcessor.getParameter(gainParameterIndex) * gainRangeDb - gainOffsetDb;
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
    // No notification: the knob follows the host and must not echo the value back to it.
    gainSlider->setValue(static_cast<double>(gainDb), juce::dontSendNotification);

    const std::int32_t mode = loomcraftProcessor.idxInputConfig.load(std::memory_order_relaxed);
    if (shownMode != mode)
    {
        shownMode = mode;
        loadModeImages(mode);
        repaint();
    }
}

void LoomcraftAudioProcessorEditor::buttonClicked(juce::Button* button)
{
    juce::Component* target = nullptr;
    if (button == gearButton.get())
        target = optionPanel.get();
    else if (button == logoButton.get())
        target = aboutPanel.get();

    if (target != nullptr)
        target->setVisible(!target->isVisible());
}

void LoomcraftAudioProcessorEditor::sliderValueChanged(juce::Slider* slider)
{
    if (slider != gainSlider.get())
        return;
    const auto value =
        static_cast<float>((slider->getValue() - minGainDb) / (maxGainDb - minGainDb));
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    loomcraftProcessor.setParameterNotifyingHost(gainParameterIndex, value);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

void LoomcraftAudioProcessorEditor::sliderDragStarted(juce::Slider* slider)
{
    if (slider != gainSlider.get())
        return;
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    loomcraftProcessor.beginParameterChangeGesture(gainParameterIndex);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}

void LoomcraftAudioProcessorEditor::sliderDragEnded(juce::Slider* slider)
{
    if (slider != gainSlider.get())
        return;
    JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")
    loomcraftProcessor.endParameterChangeGesture(gainParameterIndex);
    JUCE_END_IGNORE_WARNINGS_GCC_LIKE
}
