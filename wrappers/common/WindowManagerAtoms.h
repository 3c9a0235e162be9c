#pragma once

namespace veridane::wrappers
{

/** Makes sure the X atoms that the framework's window setup names exist on the display, before
    the framework connects to it. The framework looks them up once per connection, only if they
    exist, and then names the missing ones as atom 0 in requests that fail. On a server without a
    window manager (a headless validator's Xvfb) nothing has made them, and a host that keeps
    Xlib's default error handler exits on the first failed request.

    Message thread, with DISPLAY set, before anything that makes the framework connect (the
    first editor of a GUI session); later calls in the same session do nothing. */
void createWindowManagerAtoms();

} // namespace veridane::wrappers
