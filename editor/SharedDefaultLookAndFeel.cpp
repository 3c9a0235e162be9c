#include "editor/SharedDefaultLookAndFeel.h"

SharedDefaultLookAndFeel::SharedDefaultLookAndFeel() = default;

SharedDefaultLookAndFeel::~SharedDefaultLookAndFeel()
{
    JUCE_ASSERT_MESSAGE_THREAD
    if (isDefault())
    {
        juce::LookAndFeel::setDefaultLookAndFeel(nullptr);
        juce::Typeface::clearTypefaceCache();
    }
}

void SharedDefaultLookAndFeel::install()
{
    JUCE_ASSERT_MESSAGE_THREAD
    if (isDefault())
        return;
    juce::LookAndFeel::setDefaultLookAndFeel(&lookAndFeel);
    // The framework keeps earlier answers (and the default face) in its typeface cache.
    juce::Typeface::clearTypefaceCache();
}

bool SharedDefaultLookAndFeel::isDefault() const
{
    return &juce::LookAndFeel::getDefaultLookAndFeel() == &lookAndFeel;
}
