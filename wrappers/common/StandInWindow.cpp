#include "wrappers/common/StandInWindow.h"

#include <xcb/xcb.h>

#include <dlfcn.h>

#include <cstdlib>

namespace veridane::wrappers
{
namespace
{
/** XCB, loaded at run time as the framework loads Xlib, so the plug-in does not depend on it.
    Xlib offers no way to choose a new window's id; XCB does, on the same connection. */
struct Xcb
{
    xcb_connection_t* (*connectionOf)(_XDisplay*) = nullptr;
    decltype(&xcb_create_window_checked) createWindow = nullptr;
    decltype(&xcb_request_check) requestCheck = nullptr;

    Xcb()
    {
        xlibXcb = dlopen("libX11-xcb.so.1", RTLD_LAZY | RTLD_LOCAL);
        xcb = dlopen("libxcb.so.1", RTLD_LAZY | RTLD_LOCAL);
        if (xlibXcb == nullptr || xcb == nullptr)
            return;
        connectionOf =
            reinterpret_cast<decltype(connectionOf)>(dlsym(xlibXcb, "XGetXCBConnection"));
        createWindow =
            reinterpret_cast<decltype(createWindow)>(dlsym(xcb, "xcb_create_window_checked"));
        requestCheck = reinterpret_cast<decltype(requestCheck)>(dlsym(xcb, "xcb_request_check"));
    }
    ~Xcb()
    {
        if (xcb != nullptr)
            dlclose(xcb);
        if (xlibXcb != nullptr)
            dlclose(xlibXcb);
    }
    Xcb(const Xcb&) = delete;
    Xcb& operator=(const Xcb&) = delete;

    bool loaded() const
    {
        return connectionOf != nullptr && createWindow != nullptr && requestCheck != nullptr;
    }

    void* xlibXcb = nullptr;
    void* xcb = nullptr;
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
