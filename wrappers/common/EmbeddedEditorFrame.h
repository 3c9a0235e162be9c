#pragma once

#include "wrappers/common/WindowDestructionWatch.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

namespace veridane::wrappers
{

/** The editor inside a host's X11 window: a frame of the editor's size holding it, whose own
    window the framework makes as a child of the host's.

    A host may destroy its window, and the frame's with it, before it takes the editor away. The
    framework would go on drawing into the frame's window and, when the frame leaves, read the
    window's properties and destroy it: requests that fail, and a host that keeps Xlib's default
    error handler exits on the first. So the frame watches its window, checks for its destruction
    before each drawing goes out and sends each drawing at once; once the window is gone, an
    unmapped stand-in holds the window's id on the framework's connection, so whatever the
    framework still sends under it reaches a live window, and the frame hides, which ends its
    drawing. (A drawing already sent when the host destroys its window fails all the same.)

    Message thread only. */
class EmbeddedEditorFrame final : public juce::Component,
                                  private juce::ComponentPeer::VBlankListener,
                                  private juce::AsyncUpdater
{
public:
    /** Holds the editor and puts itself into the host's window, given as its X11 window id;
        isOnDesktop() tells whether that worked. */
    EmbeddedEditorFrame(juce::Component& editorToHold, void* hostWindow);
    /** Leaves the host's window and lets the editor go; the editor lives on. */
    ~EmbeddedEditorFrame() override;

    void childBoundsChanged(juce::Component* child) override;
    /** Last of each drawing before the framework sends it to the window. */
    void paintOverChildren(juce::Graphics&) override;

private:
    /** Before each drawing the framework makes, at the display's rate. */
    void onVBlank() override;
    /** Sends what the framework drew. */
    void handleAsyncUpdate() override;
    /** Handles the X events the framework has read but not yet handled. It reads them while it
        draws or waits for an answer, and handles them when its connection next wakes the message
        loop; after a destruction that wake-up is the notice itself, and they would be handled
        against the destroyed window. Served at each vblank, none is left over. */
    void serveFrameworkEvents();
    /** Once the window is destroyed: the stand-in, if it can be made. */
    void standIn();

    juce::Component& editor;
    std::unique_ptr<WindowDestructionWatch> watch;
    bool windowDestroyed = false;
    bool stoodIn = false;

    JUCE_DECLARE_NON_COPYABLE(EmbeddedEditorFrame)
};

} // namespace veridane::wrappers
