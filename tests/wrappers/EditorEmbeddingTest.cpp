// The editor embedded into a host's X11 window, and the instance lifecycle with an editor. Runs
// under a virtual X server.
#include "tests/wrappers/WrapperTestSupport.h"

#include <X11/Xlib.h>

#include "wrappers/common/MessageThread.h"

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <thread>

using namespace wrappertest;
using veridane::wrappers::MessageThread;

namespace
{
/** Every failed X request of the process, the plug-in's included. Plain Xvfb has no window
    manager, so the plug-in must make the atoms its window setup names before using them. */
std::atomic<int> xErrors{0};

int countXError(Display*, XErrorEvent*)
{
    ++xErrors;
    return 0;
}

bool guiIsShutDown()
{
    return !MessageThread::isRunning() &&
           juce::MessageManager::getInstanceWithoutCreating() == nullptr;
}

/** The host's side: its own connection and the window it offers the editor. */
class HostWindow
{
public:
    /** Installs the error handler for the whole process; null is Xlib's default, which ends the
        process on the first failed request of any connection. */
    explicit HostWindow(XErrorHandler errorHandler = countXError)
    {
        XSetErrorHandler(errorHandler);
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
        destroyWindow();
        XCloseDisplay(display);
    }

    /** Destroys the window, and every window in it, before the call returns. */
    void destroyWindow()
    {
        if (window == 0)
            return;
        XDestroyWindow(display, window);
        XSync(display, False);
        window = 0;
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
    EXPECT_EQ(xErrors.load(), 0);
}

TEST(WrapperEditorEmbedding, HostMayDestroyItsWindowBeforeClosingTheEditor)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display";
    using namespace std::chrono_literals;
    Instance instance;
    instance.start();
    struct Row
    {
        std::chrono::milliseconds runningWithoutWindow; // none, or a few of its 50 ms redraws
        bool reopensBeforeClosing;
    };
    for (const auto row : {Row{200ms, false}, Row{0ms, false}, Row{200ms, true}, Row{0ms, true}})
    {
        SCOPED_TRACE(testing::Message() << row.runningWithoutWindow.count() << " ms, reopens "
                                        << row.reopensBeforeClosing);
        // Xlib's default handler ends this process on any failed request, the plug-in's
        // included: surviving is the check.
        HostWindow host(nullptr);
        ASSERT_NE(host.display, nullptr);
        ASSERT_EQ(instance.dispatch(effEditOpen, 0, 0, host.handle()), 1);
        ASSERT_EQ(host.childSizes(1).size(), 1u);
        std::this_thread::sleep_for(100ms); // the editor draws and takes in its window's events

        // Between two of the message thread's tasks: a drawing already on its way to the window
        // when it goes would fail whatever the plug-in did.
        MessageThread::runOnMessageThread([&] { host.destroyWindow(); });
        for (auto ran = 0ms; ran < row.runningWithoutWindow; ran += 20ms)
        {
            EXPECT_EQ(instance.dispatch(effEditIdle), 0);
            instance.effect->setParameter(instance.effect, 0, float(ran.count()) / 200.0f);
            std::this_thread::sleep_for(20ms);
        }
        ERect* rect = nullptr;
        ASSERT_EQ(instance.dispatch(effEditGetRect, 0, 0, &rect), 1);
        EXPECT_EQ(rect->right, 443);
        EXPECT_EQ(rect->bottom, 233);
        HostWindow next(nullptr);
        if (row.reopensBeforeClosing)
        {
            ASSERT_EQ(instance.dispatch(effEditOpen, 0, 0, next.handle()), 1);
            EXPECT_EQ(next.childSizes(1), (std::vector<std::pair<int, int>>{{443, 233}}));
        }
        instance.dispatch(effEditClose);
    }
}

TEST(WrapperEditorEmbedding, RectIsTheEditorsSizeAndStaysReadable)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display";
    Instance instance;
    ERect* rect = nullptr;
    ASSERT_EQ(instance.dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 233);
    EXPECT_EQ(rect->right, 443);

    instance.dispatch(effEditClose);
    EXPECT_EQ(rect->right, 443);
    EXPECT_EQ(instance.dispatch(effEditGetRect, 0, 0, nullptr), 0);
}

TEST(WrapperLifecycle, GuiRunsWhileAnyInstanceLivesAndStopsAfterTheLast)
{
    if (std::getenv("DISPLAY") == nullptr)
        GTEST_SKIP() << "no X display";
    for (int round = 0; round < 3; ++round)
    {
        SCOPED_TRACE(round);
        auto first = std::make_unique<Instance>();
        auto second = std::make_unique<Instance>();
        ERect* rect = nullptr;
        first->start();
        EXPECT_EQ(first->dispatch(effEditGetRect, 0, 0, &rect), 1); // an editor exists

        first.reset();
        EXPECT_TRUE(MessageThread::isRunning());
        EXPECT_EQ(second->dispatch(effEditGetRect, 0, 0, &rect), 1);
        second.reset();
        EXPECT_TRUE(guiIsShutDown());
    }
}
