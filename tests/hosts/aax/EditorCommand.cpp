// editor: load, register, open an instance (state through the 'juce' chunk) and its window object,
// ask the view size, hand it an X11 window as the view container, let the editor settle, click
// where asked, save a screenshot, take the container away, release everything.
#include "tests/hosts/aax/Commands.h"
#include "tests/hosts/aax/HostedGui.h"
#include "tests/hosts/common/EditorWindow.h"

#include <chrono>
#include <cstdio>
#include <thread>

namespace
{
constexpr int kAfterClickMilliseconds = 500;
constexpr auto kPumpInterval = std::chrono::milliseconds(10);
/** Larger than any screen: a size beyond it is garbage. */
constexpr float kMaxEditorSide = 8192.0f;

/** Reads the host window's events for a while; the plug-in's own thread draws the editor. */
void settle(EditorWindow& window, int milliseconds)
{
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end)
    {
        window.pumpEvents();
        std::this_thread::sleep_for(kPumpInterval);
    }
}
} // namespace

int runEditor(Arguments& arguments)
{
    const auto options = EditorOptions::take(arguments);
    fakeaax::FakeHost host;
    std::vector<std::string> problems;
    int32_t liveObjects = 0;
    {
        AaxBundle bundle(host, options.pluginPath);
        std::printf("loaded %s\n", bundle.path().c_str());
        {
            HostedInstance instance(bundle, 48000.0);
            if (options.gain || options.direction)
                std::printf("'juce' chunk answered %ld\n",
                            long(instance.restoreState(options.gain, options.direction)));
            HostedGui gui(instance);
            std::printf("window initialize answered %ld\n", long(gui.initializeResult()));

            fakeaax::ViewSize size{};
            const int32_t sized = gui.viewSize(size);
            std::printf("view size: %g x %g (height, width), answered %ld\n", size.height,
                        size.width, long(sized));
            if (sized != fakeaax::kSuccess || !(size.height >= 1.0f && size.width >= 1.0f) ||
                size.height > kMaxEditorSide || size.width > kMaxEditorSide)
            {
                problems.push_back("no usable view size");
            }
            else
            {
                EditorWindow window(int(size.width), int(size.height));
                std::printf("set view container answered %ld\n", long(gui.attach(window.id())));
                settle(window, options.settleMilliseconds);
                for (const auto& point : options.clicks)
                {
                    std::printf("click at %d,%d\n", point.x, point.y);
                    window.click(point.x, point.y);
                    settle(window, kAfterClickMilliseconds);
                }
                const juce::Image shot = window.capture();
                writePng(shot, options.outPath);
                std::printf("screenshot: %s (%d x %d)\n", options.outPath.c_str(), shot.getWidth(),
                            shot.getHeight());
                std::printf("view container removed, answered %ld\n", long(gui.detach()));
                settle(window, kAfterClickMilliseconds / 5);
            }
            problems.insert(problems.end(), instance.problems.begin(), instance.problems.end());
        }
        for (const auto& call : host.calls())
            if (call.starts_with("view"))
                std::printf("view call: %s\n", call.c_str());
        liveObjects = bundle.exports().canUnloadNow(nullptr);
    }
    std::printf("X errors ignored %d\n", EditorWindow::errorCount());
    checkReleased(liveObjects, host, problems);
    return report(problems);
}
