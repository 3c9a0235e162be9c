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
} // namespace
