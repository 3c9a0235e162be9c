#pragma once

struct _XDisplay;

namespace veridane::wrappers
{

/** What an X11 window was made with, for another one in its place. */
struct WindowShape
{
    unsigned long id = 0;
    unsigned long root = 0;
    int depth = 0;
    unsigned long visual = 0;
    unsigned long colormap = 0;
};

/** Makes an unmapped window, with the shape's depth, visual and colormap, under the id of a window
    that the X server has destroyed, on the connection that made the original. Whatever that
    connection still sends under the id then reaches a live window instead of failing, and its
    owner destroys the stand-in as it would have destroyed the original.

    Answers false when it cannot (the id is not free, XCB is not there); the server's refusal then
    comes back to this call alone, never to an X error handler. Thread that uses the connection. */
bool createStandInWindow(_XDisplay* connection, const WindowShape& shape);

} // namespace veridane::wrappers
