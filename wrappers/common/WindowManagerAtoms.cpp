#include "wrappers/common/WindowManagerAtoms.h"

#include <juce_gui_basics/juce_gui_basics.h>

namespace veridane::wrappers
{
namespace
{
/** The atoms the framework's window system looks up only if they exist and then uses whether they
    do or not (the window-manager protocols and the window's type and state). */
constexpr const char* atomNames[] = {
    "WM_PROTOCOLS",        "WM_TAKE_FOCUS",   "WM_DELETE_WINDOW",
    "_NET_WM_PING",        "WM_CHANGE_STATE", "WM_STATE",
    "_NET_WM_WINDOW_TYPE", "_NET_WM_STATE",   "_NET_WM_STATE_HIDDEN",
};
constexpr int numAtoms = int(std::size(atomNames));

/** Xlib, loaded at run time as the framework loads it, so the plug-in does not depend on it. */
struct Xlib
{
    using Display = struct _XDisplay;
    using Atom = unsigned long;

    juce::DynamicLibrary library{"libX11.so.6"};
    Display* (*openDisplay)(const char*) = function<decltype(openDisplay)>("XOpenDisplay");
    int (*internAtoms)(Display*, char**, int, int,
                       Atom*) = function<decltype(internAtoms)>("XInternAtoms");
    int (*closeDisplay)(Display*) = function<decltype(closeDisplay)>("XCloseDisplay");

    template <typename Function> Function function(const char* name)
    {
        return reinterpret_cast<Function>(library.getFunction(name));
    }

    bool loaded() const
    {
        return openDisplay != nullptr && internAtoms != nullptr && closeDisplay != nullptr;
    }
};

/** Message thread only. */
bool createdThisSession = false;

/** Ends the session's mark when the framework shuts its GUI side down, together with the window
    system whose connection saw the atoms. */
struct SessionMark : juce::DeletedAtShutdown
{
    ~SessionMark() override { createdThisSession = false; }
};
} // namespace

void createWindowManagerAtoms()
{
    JUCE_ASSERT_MESSAGE_THREAD
    if (createdThisSession)
        return;
    createdThisSession = true;
    new SessionMark();

    const Xlib xlib;
    if (!xlib.loaded())
        return;
    auto* const display = xlib.openDisplay(nullptr);
    if (display == nullptr)
        return;

    Xlib::Atom atoms[numAtoms] = {};
    xlib.internAtoms(display, const_cast<char**>(atomNames), numAtoms, 0, atoms);
    // The framework connects while this connection still holds the server: a server whose last
    // client leaves starts afresh and forgets its atoms.
    (void)juce::Desktop::getInstance().getDisplays();
    xlib.closeDisplay(display);
}

} // namespace veridane::wrappers
