// The framework's X11 declarations (its display, and Xlib as it loaded it) are visible only with
// this set before its header is first included.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include <juce_events/native/juce_linux_EventLoopInternal.h>

#include "wrappers/common/EmbeddedEditorFrame.h"

namespace veridane::wrappers
{
namespace
{
juce::X11Symbols& xlib()
{
    return *juce::X11Symbols::getInstance();
}

_XDisplay* frameworkConnection()
{
    return juce::XWindowSystem::getInstance()->getDisplay();
}
} // namespace

EmbeddedEditorFrame::EmbeddedEditorFrame(juce::Component& editorToHold, void* hostWindow)
    : editor(editorToHold)
{
    JUCE_ASSERT_MESSAGE_THREAD
    editor.setTopLeftPosition(0, 0);
    addAndMakeVisible(editor);
    setSize(editor.getWidth(), editor.getHeight());
    setVisible(true);
    addToDesktop(0, hostWindow);
    auto* const peer = getPeer();
    if (peer == nullptr)
        return;

    watch = std::make_unique<WindowDestructionWatch>(
        frameworkConnection(), reinterpret_cast<::Window>(peer->getNativeHandle()));
    peer->addVBlankListener(this);
    serveFrameworkEvents();
}

EmbeddedEditorFrame::~EmbeddedEditorFrame()
{
    if (auto* const peer = getPeer())
    {
        peer->removeVBlankListener(this);
        // A host may destroy its window and take the editor away at once, with no vblank between.
        if (!windowDestroyed && watch != nullptr && watch->heardAfterRoundTrip())
            standIn();
        removeFromDesktop();
    }
    removeChildComponent(&editor);
}

void EmbeddedEditorFrame::childBoundsChanged(juce::Component* child)
{
    if (child == &editor)
        setSize(editor.getWidth(), editor.getHeight());
}

void EmbeddedEditorFrame::paintOverChildren(juce::Graphics&)
{
    // The framework puts the drawing into the window right after this: a window destroyed while
    // it was drawn gets its stand-in first (the frame hides later, not while it is painted).
    if (!windowDestroyed && watch != nullptr && watch->heard())
        standIn();
    // Xlib keeps the drawing requests until the framework next waits for an answer, often a
    // vblank later, and a window destroyed meanwhile would fail every one. A drawing made by
    // onVBlank goes out at once; one the framework makes goes out after this message.
    triggerAsyncUpdate();
}

void EmbeddedEditorFrame::handleAsyncUpdate()
{
    xlib().xFlush(frameworkConnection());
}

void EmbeddedEditorFrame::onVBlank()
{
    if (!windowDestroyed && watch->heard())
        standIn();
    if (windowDestroyed)
    {
        if (stoodIn)
            setVisible(false);
        return;
    }

    serveFrameworkEvents();
    // Drawn here and sent at once, a drawing reaches the server right after its last check in
    // paintOverChildren; the framework's own drawing, which follows, finds nothing left.
    auto* const peer = getPeer();
    juce::XWindowSystem::getInstance()->processPendingPaintsForWindow(
        reinterpret_cast<::Window>(peer->getNativeHandle()));
    peer->performAnyPendingRepaintsNow();
    xlib().xFlush(frameworkConnection());
}

void EmbeddedEditorFrame::serveFrameworkEvents()
{
    auto* const framework = frameworkConnection();
    if (xlib().xEventsQueued(framework, QueuedAlready) > 0)
        juce::LinuxEventLoopInternal::invokeEventLoopCallbackForFd(
            xlib().xConnectionNumber(framework));
}

void EmbeddedEditorFrame::standIn()
{
    windowDestroyed = true;
    stoodIn = createStandInWindow(frameworkConnection(), watch->shape());
}

} // namespace veridane::wrappers
