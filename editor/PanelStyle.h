#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// What the window and its two panels share: their size, the square-cornered invisible buttons
// and the captions, which show text but can never be edited.
namespace veridane::panel
{

constexpr int windowWidth = 443;
constexpr int windowHeight = 233;

constexpr int allEdgesConnected = juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight |
                                  juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom;

/** Sets the font, justification, the non-editable state and the three colours, in that order. */
void styleCaption(juce::Label& label, float fontHeight, juce::Justification justification);

} // namespace veridane::panel
