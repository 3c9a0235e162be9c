#include "wrappers/common/StandInWindow.h"

#include <juce_core/juce_core.h>
#include <xcb/xcb.h>

#include <cstdlib>

namespace veridane::wrappers
{
namespace
{
/** XCB, loaded at run time as the framework loads Xlib, so the plug-in does not depend on it.
    Xlib offers no way to choose a new window's id; XCB does, on the same connection. */
struct Xcb
{
    juce::DynamicLibrary xlibXcb{"libX11-xcb.so.1"}, xcb{"libxcb.so.1"};
    xcb_connection_t* (*connectionOf)(_XDisplay*) =
        function<decltype(connectionOf)>(xlibXcb, "XGetXCBConnection");
    decltype(&xcb_create_window_checked) createWindow =
        function<decltype(createWindow)>(xcb, "xcb_create_window_checked");
    decltype(&xcb_request_check) requestCheck =
        function<decltype(requestCheck)>(xcb, "xcb_request_check");

    template <typename Function>
    static Function function(juce::DynamicLibrary& library, const char* name)
    {
        return reinterpret_cast<Function>(library.getFunction(name));
    }

    bool loaded() const
    {
        return connectionOf != nullptr && createWindow != nullptr && requestCheck != nullptr;
    }
};
} // namespace

bool createStandInWindow(_XDisplay* connection, const WindowShape& shape)
{
    const Xcb calls;
    if (connection == nullptr || !calls.loaded())
        return false;

    // In the order of their mask bits. A border pixel, since a depth other than the root's has no
    // border to copy from it; override-redirect keeps a window manager away from it.
    const uint32_t values[] = {0, 1, uint32_t(shape.colormap)};
    const auto request = calls.createWindow(
        calls.connectionOf(connection), uint8_t(shape.depth), xcb_window_t(shape.id),
        xcb_window_t(shape.root), 0, 0, 1, 1, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
        xcb_visualid_t(shape.visual),
        XCB_CW_BORDER_PIXEL | XCB_CW_OVERRIDE_REDIRECT | XCB_CW_COLORMAP, values);
    // A checked request: its error, if any, is handed back here instead of to Xlib's handler.
    xcb_generic_error_t* const error = calls.requestCheck(calls.connectionOf(connection), request);
    const bool made = error == nullptr;
    std::free(error);
    return made;
}

} // namespace veridane::wrappers
