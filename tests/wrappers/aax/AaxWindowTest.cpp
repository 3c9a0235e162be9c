// The AAX wrapper's window in-process, through the fake host: its size, and resizes passed to the
// view container it currently has. It embeds a real editor, so it runs with a display (Xvfb),
// under Xlib's default error handler: any failed X request ends it.
#include "tests/wrappers/aax/AaxWrapperSupport.h"

#include "hosts/aax/component/CACFUnknown.h"
#include "hosts/aax/gui/AAX_IACFEffectGUI.h"
#include "tests/hosts/aax/EffectGuiEntries.h"
#include "tests/hosts/common/EditorWindow.h"
#include "wrappers/common/MessageThread.h"

#include <X11/Xlib.h>

#include <chrono>
#include <thread>

using namespace aaxtest;
using fakeaax::FakeHost;
namespace gui = fakeaax::gui;

namespace
{
TEST(AaxWrapper, WindowAnswersItsSizeAndPassesResizesToTheCurrentContainer)
{
    // The plug-in's toolkit and the host's windows use Xlib from different threads.
    XInitThreads();
    if (!EditorWindow::displayAvailable())
        GTEST_SKIP() << "no X display";
    // The host's two views: real windows, so the editor really embeds into each in turn.
    EditorWindow firstView(443, 233), secondView(443, 233);

    FakeHost host;
    auto open = std::make_unique<OpenAaxEffect>(host);
    void* window = nullptr;
    ASSERT_EQ(fakeaax::queryInterface(veridane::aax::createEffectGui(), fakeaax::guid("EffectGUI"),
                                      &window),
              0);
    ASSERT_EQ(gui::Initialize::call(window, open->instance), 0);
    fakeaax::ViewSize size{};
    EXPECT_EQ(gui::GetViewSize::call(window, &size), 0);
    EXPECT_EQ(size.height, 233.0f);
    EXPECT_EQ(size.width, 443.0f);

    auto& processor = open->processor();
    const auto resize = [&processor](int width, int height)
    {
        veridane::wrappers::MessageThread::runOnMessageThread(
            [&]
            {
                if (auto* editor = processor.getActiveEditor())
                    editor->setSize(width, height);
            });
    };
    const auto viewOf = [](const EditorWindow& view) { return reinterpret_cast<void*>(view.id()); };
    host.clearLog();
    EXPECT_EQ(gui::SetViewContainer::call(window, host.newViewObject(1, viewOf(firstView))), 0);
    resize(500, 300);
    EXPECT_EQ(gui::SetViewContainer::call(window, host.newViewObject(1, viewOf(secondView))), 0);
    resize(400, 200);
    // Initialized again, the window lets its container go: later resizes reach no view.
    EXPECT_EQ(gui::Initialize::call(window, open->instance), 0);
    resize(300, 150);
    EXPECT_EQ(gui::SetViewContainer::call(window, nullptr), 0);
    EXPECT_EQ(callsTo(host, "view1.6").size() + callsTo(host, "view2.6").size(), 2u);
    EXPECT_EQ(callsTo(host, "view1.6"), Strings{"view1.6(300x500)"});
    EXPECT_EQ(callsTo(host, "view2.6"), Strings{"view2.6(200x400)"});

    // Without a view, the editor's size when its view went, and no editor made to tell it.
    EXPECT_EQ(gui::GetViewSize::call(window, &size), 0);
    EXPECT_EQ(size.height, 150.0f);
    EXPECT_EQ(size.width, 300.0f);
    EXPECT_EQ(processor.getActiveEditor(), nullptr);
    // The host lets the effect go first; the window keeps it until it goes itself.
    open.reset();
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), 2u);
    EXPECT_EQ(gui::Uninitialize::call(window), 0);
    fakeaax::release(window);
    EXPECT_EQ(CACFUnknown::GetActiveObjectCount(), 0u);
    EXPECT_EQ(host.unbalanced(), Strings{});
}

TEST(AaxWrapper, WindowSurvivesAHostThatDestroysItsViewBeforeTakingItAway)
{
    using namespace std::chrono_literals;
    XInitThreads();
    if (!EditorWindow::displayAvailable())
        GTEST_SKIP() << "no X display";
    FakeHost host;
    OpenAaxEffect open(host);
    void* window = nullptr;
    ASSERT_EQ(fakeaax::queryInterface(veridane::aax::createEffectGui(), fakeaax::guid("EffectGUI"),
                                      &window),
              0);
    ASSERT_EQ(gui::Initialize::call(window, open.instance), 0);

    // How long the window runs without its view: not a single frame, or a few of its redraws.
    for (const auto runningWithoutView : {200ms, 0ms, 200ms})
    {
        SCOPED_TRACE(runningWithoutView.count());
        auto view = std::make_unique<EditorWindow>(443, 233);
        ASSERT_EQ(gui::SetViewContainer::call(
                      window, host.newViewObject(1, reinterpret_cast<void*>(view->id()))),
                  0);
        std::this_thread::sleep_for(100ms); // the editor draws and takes in its window's events

        // Between two of the message thread's tasks: a drawing already on its way to the view when
        // it goes would fail whatever the plug-in did.
        veridane::wrappers::MessageThread::runOnMessageThread([&] { view.reset(); });
        for (auto ran = 0ms; ran < runningWithoutView; ran += 20ms)
        {
            open.processor().setParameter(0, float(ran.count()) / 200.0f);
            EXPECT_EQ(gui::ParameterUpdated::call(window, "0"), 0);
            std::this_thread::sleep_for(20ms);
        }
        fakeaax::ViewSize size{};
        EXPECT_EQ(gui::GetViewSize::call(window, &size), 0);
        EXPECT_EQ(size.height, 233.0f);
        EXPECT_EQ(size.width, 443.0f);
        EXPECT_EQ(gui::SetViewContainer::call(window, nullptr), 0);
    }
    EXPECT_EQ(gui::Uninitialize::call(window), 0);
    fakeaax::release(window);
}
} // namespace
