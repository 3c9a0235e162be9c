// The editor embedded into a host's X11 window. Runs under a virtual X server (xvfb-run).
#include "tests/wrappers/WrapperTestSupport.h"

#include <X11/Xlib.h>

#include <chrono>
#include <cstdlib>
#include <thread>

using namespace wrappertest;

namespace
{
/** Plain Xvfb lacks some window-manager atoms, so window setup draws harmless errors that the
    default handler would turn into an exit, as a real host's toolkit would not. */
int ignoreXError(Display*, XErrorEvent*)
{
    return 0;
}

/** The host's side: its own connection and the window it offers the editor. */
class HostWindow
{
public:
    HostWindow()
    {
        XSetErrorHandler(ignoreXError);
        // Opening a display right after another client left fails now and then.
        for (int attempt = 0; attempt < 20 && display == nullptr; ++attempt)
        {
            display = XOpenDisplay(nullptr);
            if (display == nullptr)
                std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        if (display == nullptr)
            return;
        window = XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 600, 400, 0, 0, 0);
        XMapWindow(display, window);
        XSync(display, False);
    }

    ~HostWindow()
    {
        if (display == nullptr)
            return;
        XDestroyWindow(display, window);
        XCloseDisplay(display);
    }

    void* handle() const { return reinterpret_cast<void*>(window); }

    /** The size of each child window, polled until count children exist or a second passed. */
    std::vector<std::pair<int, int>> childSizes(size_t count) const
    {
        std::vector<std::pair<int, int>> sizes;
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        do
        {
            sizes.clear();
            XSync(display, False);
            Window root = 0, parent = 0;
            Window* children = nullptr;
            unsigned int numChildren = 0;
            XQueryTree(display, window, &root, &parent, &children, &numChildren);
            for (unsigned int i = 0; i < numChildren; ++i)
            {
                XWindowAttributes attributes{};
                XGetWindowAttributes(display, children[i], &attributes);
                sizes.emplace_back(attributes.width, attributes.height);
            }
            if (children != nullptr)
                XFree(children);
            if (sizes.size() == count)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        } while (std::chrono::steady_clock::now() < deadline);
        return sizes;
    }

    Display* display = nullptr;
    Window window = 0;
};
} // namespace

TEST(WrapperEditorEmbedding, EditorOpensInsideTheHostWindowAndLeavesOnEveryClose)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display";
    HostWindow host;
    ASSERT_NE(host.display, nullptr);

    for (int round = 0; round < 3; ++round)
    {
        SCOPED_TRACE(round);
        {
            Instance instance;
            instance.start();
            ERect* rect = nullptr;
            ASSERT_EQ(instance.dispatch(effEditGetRect, 0, 0, &rect), 1);
            ASSERT_EQ(instance.dispatch(effEditOpen, 0, 0, host.handle()), 1);
            const auto sizes = host.childSizes(1);
            ASSERT_EQ(sizes.size(), 1u);
            EXPECT_EQ(sizes[0], std::make_pair(443, 233));
            EXPECT_EQ(instance.dispatch(effEditIdle), 0);

            instance.dispatch(effEditClose);
            EXPECT_TRUE(host.childSizes(0).empty());
            // Open again and let the instance close with its editor still open.
            ASSERT_EQ(instance.dispatch(effEditOpen, 0, 0, host.handle()), 1);
            EXPECT_EQ(host.childSizes(1).size(), 1u);
        }
        EXPECT_TRUE(host.childSizes(0).empty());
    }
}
