#include "tests/hosts/common/EditorWindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <atomic>
#include <bit>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <thread>

namespace
{
std::atomic<int> xErrors{0};

int lenientErrorHandler(Display* display, XErrorEvent* event)
{
    char text[128] = {};
    XGetErrorText(display, event->error_code, text, sizeof text);
    if (xErrors++ == 0)
        std::fprintf(stderr, "note: X error ignored (%s, request %d); later ones are counted\n",
                     text, int(event->request_code));
    return 0;
}

/** Scales a pixel field selected by mask to 8 bits. */
uint8_t channel(unsigned long pixel, unsigned long mask)
{
    if (mask == 0)
        return 0;
    const int shift = std::countr_zero(mask);
    const unsigned long maximum = mask >> shift;
    return uint8_t(((pixel & mask) >> shift) * 255 / maximum);
}

constexpr auto kMapTimeout = std::chrono::seconds(5);
} // namespace

void EditorWindow::installLenientErrorHandler()
{
    XSetErrorHandler(lenientErrorHandler);
}

bool EditorWindow::displayAvailable()
{
    Display* probe = XOpenDisplay(nullptr);
    if (probe == nullptr)
        return false;
    XCloseDisplay(probe);
    return true;
}

int EditorWindow::errorCount()
{
    return xErrors.load();
}

EditorWindow::EditorWindow(int w, int h) : width(w), height(h)
{
    display = XOpenDisplay(nullptr);
    if (display == nullptr)
        throw std::runtime_error("no X display (set DISPLAY, or run under Xvfb)");

    const int screen = DefaultScreen(display);
    window = XCreateSimpleWindow(display, RootWindow(display, screen), 0, 0, unsigned(width),
                                 unsigned(height), 0, BlackPixel(display, screen),
                                 BlackPixel(display, screen));
    XStoreName(display, window, "Veridane test host");
    XSelectInput(display, window, StructureNotifyMask | ExposureMask);
    XMapWindow(display, window);

    // The editor must be embedded into a mapped window, or it stays unmapped itself.
    const auto deadline = std::chrono::steady_clock::now() + kMapTimeout;
    for (;;)
    {
        XEvent event;
        if (XCheckTypedWindowEvent(display, window, MapNotify, &event))
            break;
        if (std::chrono::steady_clock::now() > deadline)
            throw std::runtime_error("the host window was never mapped");
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

EditorWindow::~EditorWindow()
{
    XDestroyWindow(display, window);
    XCloseDisplay(display);
}

void EditorWindow::pumpEvents()
{
    while (XPending(display) > 0)
    {
        XEvent event;
        XNextEvent(display, &event);
    }
}

void EditorWindow::click(int x, int y)
{
    // Descend to the deepest window under the point: that is where a real click lands.
    ::Window target = window;
    int targetX = x;
    int targetY = y;
    for (;;)
    {
        ::Window child = 0;
        int unused = 0;
        if (!XTranslateCoordinates(display, target, target, targetX, targetY, &unused, &unused,
                                   &child) ||
            child == 0)
            break;
        ::Window deeper = 0;
        XTranslateCoordinates(display, target, child, targetX, targetY, &targetX, &targetY,
                              &deeper);
        target = child;
    }

    // Sent events reach the toolkit like real ones; only the pointer itself does not move.
    auto send = [&](int type, long mask, unsigned int state)
    {
        XEvent event{};
        const ::Window root = DefaultRootWindow(display);
        if (type == MotionNotify)
            event.xmotion = {.type = type,
                             .serial = 0,
                             .send_event = True,
                             .display = display,
                             .window = target,
                             .root = root,
                             .subwindow = 0,
                             .time = CurrentTime,
                             .x = targetX,
                             .y = targetY,
                             .x_root = x,
                             .y_root = y,
                             .state = state,
                             .is_hint = NotifyNormal,
                             .same_screen = True};
        else
            event.xbutton = {.type = type,
                             .serial = 0,
                             .send_event = True,
                             .display = display,
                             .window = target,
                             .root = root,
                             .subwindow = 0,
                             .time = CurrentTime,
                             .x = targetX,
                             .y = targetY,
                             .x_root = x,
                             .y_root = y,
                             .state = state,
                             .button = Button1,
                             .same_screen = True};
        XSendEvent(display, target, True, mask, &event);
    };
    send(MotionNotify, PointerMotionMask, 0);
    send(ButtonPress, ButtonPressMask, 0);
    send(ButtonRelease, ButtonReleaseMask, Button1Mask);
    XFlush(display);
}

juce::Image EditorWindow::capture() const
{
    XSync(display, False);
    XImage* pixels =
        XGetImage(display, window, 0, 0, unsigned(width), unsigned(height), AllPlanes, ZPixmap);
    if (pixels == nullptr)
        throw std::runtime_error("cannot read the window's pixels");

    juce::Image image(juce::Image::RGB, width, height, false);
    {
        const juce::Image::BitmapData bitmap(image, juce::Image::BitmapData::writeOnly);
        for (int y = 0; y < height; ++y)
            for (int x = 0; x < width; ++x)
            {
                const unsigned long pixel = XGetPixel(pixels, x, y);
                bitmap.setPixelColour(x, y,
                                      juce::Colour(channel(pixel, pixels->red_mask),
                                                   channel(pixel, pixels->green_mask),
                                                   channel(pixel, pixels->blue_mask)));
            }
    }
    XDestroyImage(pixels);
    return image;
}

void writePng(const juce::Image& image, const std::string& path)
{
    const juce::File file(juce::File::getCurrentWorkingDirectory().getChildFile(path));
    if (file.exists() && !file.deleteFile())
        throw std::runtime_error("cannot replace " + path);
    juce::FileOutputStream stream(file);
    juce::PNGImageFormat png;
    if (!stream.openedOk() || !png.writeImageToStream(image, stream))
        throw std::runtime_error("cannot write " + path);
}

EditorOptions EditorOptions::take(Arguments& arguments)
{
    EditorOptions options;
    const auto outPath = arguments.option("--out");
    if (!outPath)
        throw UsageError("--out FILE.png is required");
    options.outPath = *outPath;
    options.gain = arguments.option("--gain");
    options.direction = arguments.option("--direction");
    if (options.gain)
        parseNumber(*options.gain, "--gain");
    if (options.direction)
        parseInteger(*options.direction, "--direction");
    if (const auto settle = arguments.option("--settle-ms"))
        options.settleMilliseconds = int(parseInteger(*settle, "--settle-ms"));
    for (const auto& text : arguments.options("--click"))
    {
        const auto comma = text.find(',');
        if (comma == std::string::npos)
            throw UsageError("--click wants X,Y");
        options.clicks.push_back({int(parseInteger(text.substr(0, comma), "--click x")),
                                  int(parseInteger(text.substr(comma + 1), "--click y"))});
    }
    options.pluginPath = arguments.positionals(1, "the plug-in path")[0];
    if (!EditorWindow::displayAvailable())
        throw std::runtime_error("no X display (set DISPLAY, or run under Xvfb)");
    return options;
}
