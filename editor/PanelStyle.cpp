#include "editor/PanelStyle.h"

namespace veridane::panel
{
namespace
{
constexpr juce::uint32 captionTextColour = 0xfffcfcfc;
constexpr juce::uint32 editorTextColour = 0xff000000;
constexpr juce::uint32 editorBackgroundColour = 0x00000000;
} // namespace

void styleCaption(juce::Label& label, float fontHeight, juce::Justification justification)
{
    label.setFont(juce::Font(fontHeight, juce::Font::plain));
    label.setJustificationType(justification);
    label.setEditable(false, false, false);
    label.setColour(juce::Label::textColourId, juce::Colour(captionTextColour));
    label.setColour(juce::TextEditor::textColourId, juce::Colour(editorTextColour));
    label.setColour(juce::TextEditor::backgroundColourId, juce::Colour(editorBackgroundColour));
}

} // namespace veridane::panel
