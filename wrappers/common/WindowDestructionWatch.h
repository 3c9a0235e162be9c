#pragma once

#include "wrappers/common/StandInWindow.h"

namespace veridane::wrappers
{

/** Hears of an X11 window's destruction on an X connection of its own, so the notice arrives
    whatever the window's owner does with the events of its connection. The framework's message
    thread only (it uses Xlib as the framework loaded it). */
class WindowDestructionWatch
{
public:
    /** Watches the window, on the server of the given connection. Watches nothing when no
        connection can be made; heard() then stays false. */
    WindowDestructionWatch(_XDisplay* sameServerAs, unsigned long windowId);
    ~WindowDestructionWatch();

    WindowDestructionWatch(const WindowDestructionWatch&) = delete;
    WindowDestructionWatch& operator=(const WindowDestructionWatch&) = delete;

    /** The window as it was made, for a stand-in. */
    const WindowShape& shape() const noexcept { return window; }

    /** Whether the destruction notice arrived; reads what the connection holds, without waiting. */
    bool heard();
    /** The same after one round trip: every destruction the server made before it is heard. */
    bool heardAfterRoundTrip();

private:
    _XDisplay* connection = nullptr;
    WindowShape window;
    bool destroyed = false;
};

} // namespace veridane::wrappers
