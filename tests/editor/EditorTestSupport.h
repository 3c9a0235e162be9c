#pragma once

#include "editor/EmbeddedResources.h"
#include "editor/LoomcraftAudioProcessorEditor.h"
#include "processor/LoomcraftAudioProcessor.h"

#include <gtest/gtest.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

namespace veridane::test
{

/** Each test runs with the framework's GUI side started and shut down around it. */
class GuiTest : public ::testing::Test
{
protected:
    juce::ScopedJuceInitialiser_GUI gui;
};

/** Runs the message loop: timers and asynchronous messages are delivered. */
void pump(int milliseconds);

/** Runs the message loop until done() holds, for at most a generous deadline (timers may run
    late on a loaded machine); answers done(). */
bool pumpUntil(const std::function<bool()>& done);

/** The first component named name below root (depth first), cast to T; null when none is. */
juce::Component* findNamed(juce::Component& root, const juce::String& name);

template <typename T> T* findNamedAs(juce::Component& root, const juce::String& name)
{
    return dynamic_cast<T*>(findNamed(root, name));
}

template <typename T> T* findChildOfType(juce::Component& parent)
{
    for (auto* child : parent.getChildren())
        if (auto* typed = dynamic_cast<T*>(child))
            return typed;
    return nullptr;
}

juce::Image decode(const resources::Resource& resource);

/** The component as drawn, children included, at one pixel per unit. */
juce::Image snapshot(juce::Component& component);

/** overlay drawn at the origin of a copy of base (what a paint of one over the other gives). */
juce::Image composite(const juce::Image& base, const juce::Image& overlay);

/** An opaque black image of the given size. */
juce::Image blackImage(int width, int height);

/** Whether area of image holds exactly the pixels of expected; reports the first difference. */
::testing::AssertionResult regionEquals(const juce::Image& image, juce::Rectangle<int> area,
                                        const juce::Image& expected);

/** One tick of a component's timer, delivered now. */
inline void tick(juce::Timer& timer)
{
    timer.timerCallback();
}

} // namespace veridane::test
