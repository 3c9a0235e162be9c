#pragma once

#include "tests/hosts/common/Arguments.h"

#include <juce_graphics/juce_graphics.h>

#include <optional>
#include <string>
#include <vector>

/** A top-level X11 window of the host, of the size the editor asked for, on the host's own display
    connection; the plug-in embeds its editor into it. */
class EditorWindow
{
public:
    /** Installs a lenient X error handler for the whole process, as hosts' toolkits do: it counts
        failed requests instead of ending the process on the first one, as Xlib's default handler
        does. Call before the plug-in or the host opens any window. */
    static void installLenientErrorHandler();
    static bool displayAvailable();

    /** Opens the display and maps the window; throws std::runtime_error without a display. */
    EditorWindow(int width, int height);
    ~EditorWindow();

    EditorWindow(const EditorWindow&) = delete;
    EditorWindow& operator=(const EditorWindow&) = delete;

    /** The window id handed to effEditOpen. */
    unsigned long id() const { return window; }
    /** Reads and drops the host window's own events. */
    void pumpEvents();
    /** A left click at (x, y) of the window, sent to the deepest window embedded there. */
    void click(int x, int y);
    /** The window's pixels, embedded windows included, as an opaque image. */
    juce::Image capture() const;
    /** X errors seen since the handler was installed (any connection of the process). */
    static int errorCount();

private:
    struct _XDisplay* display = nullptr;
    unsigned long window = 0;
    int width = 0;
    int height = 0;
};

/** Writes the image as a PNG file, replacing it; throws std::runtime_error when it cannot. */
void writePng(const juce::Image& image, const std::string& path);

/** A point in a window, from its top-left corner. */
struct WindowPoint
{
    int x;
    int y;
};

/** What every host's editor command takes:
    PLUGIN --out FILE.png [--gain VALUE] [--direction INDEX] [--settle-ms N] [--click X,Y ...] */
struct EditorOptions
{
    std::string pluginPath;
    std::string outPath;
    std::optional<std::string> gain;
    std::optional<std::string> direction;
    int settleMilliseconds = 1000;
    std::vector<WindowPoint> clicks;

    /** Takes them all and checks that a display is there; throws UsageError for a bad command
        line, std::runtime_error without a display. */
    static EditorOptions take(Arguments& arguments);
};
