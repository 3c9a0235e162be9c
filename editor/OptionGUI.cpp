#include "editor/OptionGUI.h"

#include "editor/PanelStyle.h"
#include "processor/LoomcraftAudioProcessor.h"

namespace
{
using veridane::panel::allEdgesConnected;
constexpr int panelWidth = veridane::panel::windowWidth;
constexpr int panelHeight = veridane::panel::windowHeight;
const juce::Rectangle<int> closeButtonBounds{0, 0, panelWidth, panelHeight};
const juce::Rectangle<int> labelAreaBounds{138, 80, 168, 78};
const juce::Rectangle<int> presetListBounds{162, 116, 119, 19};
const juce::Rectangle<int> labelModeBounds{192, 76, 56, 36};
const juce::Rectangle<int> blackSquare{171, 76, 100, 100};

constexpr juce::uint32 invisibleWhite = 0x00ffffff;
constexpr juce::uint32 invisibleBlack = 0x00000000;
constexpr float labelFontHeight = 15.0f;

// Item order is direction order: index 0 converts FuMa to ambiX, index 1 ambiX to FuMa.
constexpr const char* fumaToAmbixItem = "FuMa  ->  ambiX";
constexpr const char* ambixToFumaItem = "AmbiX ->  FuMa";
constexpr int fumaToAmbixItemId = 1;
constexpr int ambixToFumaItemId = 2;
} // namespace

OptionGUI::OptionGUI(LoomcraftAudioProcessor& processorToControl) : processor(processorToControl)
{
    closeButton = std::make_unique<juce::TextButton>("closeButton");
    addAndMakeVisible(closeButton.get());
    closeButton->setButtonText(juce::String());
    closeButton->setConnectedEdges(allEdgesConnected);
    closeButton->addListener(this);
    closeButton->setColour(juce::TextButton::buttonColourId, juce::Colour(invisibleWhite));
    closeButton->setColour(juce::TextButton::buttonOnColourId, juce::Colour(invisibleWhite));
    closeButton->setColour(juce::TextButton::textColourOnId, juce::Colour(invisibleBlack));
    closeButton->setColour(juce::TextButton::textColourOffId, juce::Colour(invisibleBlack));

    labelArea = std::make_unique<juce::Label>("label_InputConfig", juce::String());
    addAndMakeVisible(labelArea.get());
    veridane::panel::styleCaption(*labelArea, labelFontHeight, juce::Justification::centredLeft);

    presetList = std::make_unique<juce::ComboBox>("presetList");
    addAndMakeVisible(presetList.get());
    presetList->setEditableText(false);
    presetList->setJustificationType(juce::Justification::centredLeft);
    presetList->setTextWhenNothingSelected(juce::String());
    presetList->setTextWhenNoChoicesAvailable(TRANS("(no choices)"));
    presetList->addListener(this);

    labelMode = std::make_unique<juce::Label>("label_InputConfig", TRANS("MODE"));
    addAndMakeVisible(labelMode.get());
    veridane::panel::styleCaption(*labelMode, labelFontHeight, juce::Justification::centredLeft);

    setSize(panelWidth, panelHeight);
    closeButton->setLookAndFeel(&transparentLookAndFeel);

    presetList->addItem(TRANS(fumaToAmbixItem), fumaToAmbixItemId);
    presetList->addItem(TRANS(ambixToFumaItem), ambixToFumaItemId);
    followProcessorDirection();

    startTimer(syncIntervalMs);
}

OptionGUI::~OptionGUI()
{
    stopTimer();
    closeButton.reset();
    labelArea.reset();
    presetList.reset();
    labelMode.reset();
}

void OptionGUI::paint(juce::Graphics& g)
{
    // Only the square behind the controls; the editor's face shows around it.
    g.setColour(juce::Colours::black);
    g.fillRect(blackSquare);
}

void OptionGUI::resized()
{
    closeButton->setBounds(closeButtonBounds);
    labelArea->setBounds(labelAreaBounds);
    presetList->setBounds(presetListBounds);
    labelMode->setBounds(labelModeBounds);
}

void OptionGUI::timerCallback()
{
    // A choice the user made is still on its way to comboBoxChanged; showing the processor's
    // (older) direction now would undo it.
    if (presetList->getSelectedItemIndex() != knownItemIndex)
        return;
    followProcessorDirection();
}

void OptionGUI::followProcessorDirection()
{
    const std::int32_t direction = processor.idxInputConfig.load(std::memory_order_relaxed);
    const int shownBefore = presetList->getSelectedId();
    // An index outside the items selects nothing; the combo box then shows empty text.
    presetList->setSelectedItemIndex(direction, juce::sendNotificationAsync);
    knownItemIndex = presetList->getSelectedItemIndex();
    if (presetList->getSelectedId() != shownBefore)
        pendingFollowedDirection = direction;
}

void OptionGUI::buttonClicked(juce::Button* button)
{
    if (button == closeButton.get())
        setVisible(false);
}

void OptionGUI::comboBoxChanged(juce::ComboBox* comboBox)
{
    if (comboBox != presetList.get())
        return;

    const int shownIndex = presetList->getSelectedItemIndex();
    const bool followedChange =
        pendingFollowedDirection.has_value() && shownIndex == knownItemIndex;
    const std::int32_t followedDirection = pendingFollowedDirection.value_or(0);
    pendingFollowedDirection.reset();
    knownItemIndex = shownIndex;

    // A change the panel made to follow the processor is applied (which turns an out-of-range
    // direction into -1) only if the direction is still the one it followed; otherwise a newer
    // direction, set meanwhile by the host, would be overwritten with a stale one. The next
    // tick shows the newer direction.
    if (followedChange &&
        processor.idxInputConfig.load(std::memory_order_relaxed) != followedDirection)
        return;

    processor.setConversionMode(shownIndex);
}
