#include "editor/WelcomeGUI.h"

#include "editor/PanelStyle.h"

namespace
{
using veridane::panel::allEdgesConnected;
constexpr int panelWidth = veridane::panel::windowWidth;
constexpr int panelHeight = veridane::panel::windowHeight;
const juce::Rectangle<int> labelTitleBounds{134, 42, 175, 52};
const juce::Rectangle<int> closeButtonBounds{0, 0, panelWidth, panelHeight};
const juce::Rectangle<int> hyperlinkBounds{140, 172, 168, 22};

constexpr juce::uint32 invisibleWhite = 0x00ffffff;
constexpr juce::uint32 linkColour = 0xffe10035;
constexpr float titleFontHeight = 16.0f;
constexpr float linkFontHeight = 14.0f;
} // namespace

WelcomeGUI::WelcomeGUI()
{
    labelTitle = std::make_unique<juce::Label>("labelTitle", TRANS(titleText));
    addAndMakeVisible(labelTitle.get());
    veridane::panel::styleCaption(*labelTitle, titleFontHeight, juce::Justification::centred);

    closeButton = std::make_unique<juce::TextButton>("closeButton");
    addAndMakeVisible(closeButton.get());
    closeButton->setButtonText(juce::String());
    closeButton->setConnectedEdges(allEdgesConnected);
    closeButton->addListener(this);
    closeButton->setColour(juce::TextButton::buttonColourId, juce::Colour(invisibleWhite));
    closeButton->setColour(juce::TextButton::buttonOnColourId, juce::Colour(invisibleWhite));

    // The link opens the page itself when clicked; the panel does not listen to it.
    hyperlinkButton =
        std::make_unique<juce::HyperlinkButton>(TRANS(webAddress), juce::URL(homePageUrl));
    addAndMakeVisible(hyperlinkButton.get());
    hyperlinkButton->setTooltip(TRANS(homePageUrl));
    hyperlinkButton->setButtonText(TRANS(webAddress));
    hyperlinkButton->setColour(juce::HyperlinkButton::textColourId, juce::Colour(linkColour));

    setSize(panelWidth, panelHeight);
    closeButton->setLookAndFeel(&transparentLookAndFeel);
    hyperlinkButton->setFont(juce::Font(linkFontHeight, juce::Font::plain), true,
                             juce::Justification::horizontallyCentred);
}

WelcomeGUI::~WelcomeGUI()
{
    labelTitle.reset();
    closeButton.reset();
    hyperlinkButton.reset();
}

void WelcomeGUI::paint(juce::Graphics&) {}

void WelcomeGUI::resized()
{
    labelTitle->setBounds(labelTitleBounds);
    closeButton->setBounds(closeButtonBounds);
    hyperlinkButton->setBounds(hyperlinkBounds);
}

void WelcomeGUI::buttonClicked(juce::Button* button)
{
    if (button == closeButton.get())
        setVisible(false);
}
