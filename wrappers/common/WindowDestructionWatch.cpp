// The framework's X11 declarations (Xlib as it loaded it) are visible only with this set before
// its header is first included.
#define JUCE_GUI_BASICS_INCLUDE_XHEADERS 1
#include <juce_gui_basics/juce_gui_basics.h>

#include "wrappers/common/WindowDestructionWatch.h"

namespace veridane::wrappers
{
namespace
{
juce::X11Symbols& xlib()
{
    return *juce::X11Symbols::getInstance();
}
} // namespace

WindowDestructionWatch::WindowDestructionWatch(_XDisplay* sameServerAs, unsigned long windowId)
{
    if (sameServerAs == nullptr)
        return;
    connection = xlib().xOpenDisplay(DisplayString(sameServerAs));
    if (connection == nullptr)
        return;

    window.id = windowId;
    xlib().xSelectInput(connection, window.id, StructureNotifyMask);
    // Answered after the selection took effect: no destruction from now on goes unheard.
    XWindowAttributes attributes{};
    if (xlib().xGetWindowAttributes(connection, window.id, &attributes) == 0)
        return;
    window.root = attributes.root;
    window.depth = attributes.depth;
    window.visual = attributes.visual->visualid;
    window.colormap = attributes.colormap;
}

WindowDestructionWatch::~WindowDestructionWatch()
{
    if (connection != nullptr)
        xlib().xCloseDisplay(connection);
}

bool WindowDestructionWatch::heard()
{
    if (connection == nullptr)
        return false;
    while (xlib().xPending(connection) > 0)
    {
        XEvent event;
        xlib().xNextEvent(connection, &event);
        if (event.type == DestroyNotify && event.xdestroywindow.window == window.id)
            destroyed = true;
    }
    return destroyed;
}

bool WindowDestructionWatch::heardAfterRoundTrip()
{
    if (connection == nullptr)
        return false;
    // The server sends a notice before it answers a request it received after the destruction.
    xlib().xSync(connection, False);
    return heard();
}

} // namespace veridane::wrappers
