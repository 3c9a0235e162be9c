// editor: load, open, configure (chunk), open the editor in an X11 window, let it settle, click
// where asked, save a screenshot, close.
#include "tests/hosts/common/StateChunk.h"
#include "tests/hosts/vst2/Commands.h"
#include "tests/hosts/vst2/EditorSession.h"

#include <cstdio>

namespace
{
constexpr int kAfterClickMilliseconds = 500;
} // namespace

int runEditor(Arguments& arguments)
{
    const auto options = EditorOptions::take(arguments);

    HostContext context;
    PluginLibrary library(options.pluginPath);
    HostedEffect effect(library, context);
    std::printf("loaded %s (entry %s): %s\n", library.path().c_str(), library.entryName().c_str(),
                effect.summary().c_str());
    effect.open();
    if (options.gain || options.direction)
        std::printf("chunk answered %ld\n",
                    long(effect.setChunk(makeStateBlock(options.gain, options.direction))));
    effect.resume();

    int result = exitCode::ok;
    {
        EditorSession session(effect);
        if (!session.open())
        {
            std::printf("FAILED: %s\n", session.failure().c_str());
            result = exitCode::failed;
        }
        else
        {
            std::printf("editor: %d x %d\n", session.width(), session.height());
            session.idle(options.settleMilliseconds);
            for (const auto& point : options.clicks)
            {
                std::printf("click at %d,%d\n", point.x, point.y);
                session.click(point.x, point.y);
                session.idle(kAfterClickMilliseconds);
            }
            const juce::Image shot = session.capture();
            writePng(shot, options.outPath);
            std::printf("screenshot: %s (%d x %d)\n", options.outPath.c_str(), shot.getWidth(),
                        shot.getHeight());
            session.close();
            session.idle(kAfterClickMilliseconds / 5);
        }
    }
    effect.suspend();
    effect.close();

    std::printf("automation calls %d, gestures %d/%d, X errors ignored %d\n",
                context.automateCalls.load(), context.beginEditCalls.load(),
                context.endEditCalls.load(), EditorWindow::errorCount());
    for (const auto& problem : effect.problems())
        std::printf("PROBLEM: %s\n", problem.c_str());
    return effect.problems().empty() ? result : exitCode::failed;
}
