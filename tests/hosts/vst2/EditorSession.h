#pragma once

#include "tests/hosts/common/EditorWindow.h"
#include "tests/hosts/vst2/HostedEffect.h"

#include <memory>
#include <string>

/** The editor of one effect in a host window, opened the way hosts do it: effEditGetRect, a
    window of that size, effEditOpen with the window id, effEditIdle from the host's loop, and
    effEditClose before the window goes. */
class EditorSession
{
public:
    static bool displayAvailable() { return EditorWindow::displayAvailable(); }

    explicit EditorSession(HostedEffect& effect);
    ~EditorSession();

    /** Opens the window and the editor; false, with the reason in failure(), when the effect
        answers no usable rectangle or refuses to open. */
    bool open();
    /** Sends effEditIdle and reads the window's events for the given time. */
    void idle(int milliseconds);
    void click(int x, int y);
    juce::Image capture() const;
    /** effEditClose; the window stays until the session ends. */
    void close();

    int width() const { return editorWidth; }
    int height() const { return editorHeight; }
    const std::string& failure() const { return reason; }

private:
    HostedEffect& effect;
    std::unique_ptr<EditorWindow> window;
    bool opened = false;
    int editorWidth = 0;
    int editorHeight = 0;
    std::string reason;
};
