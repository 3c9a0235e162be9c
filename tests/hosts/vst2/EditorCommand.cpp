// editor: load, open, configure (chunk), open the editor in an X11 window, let it settle, click
// where asked, save a screenshot, close.
#include "tests/hosts/vst2/Commands.h"
#include "tests/hosts/vst2/EditorSession.h"
#include "tests/hosts/common/StateChunk.h"

#include <cstdio>
#include <sstream>

namespace
{
constexpr int kDefaultSettleMilliseconds = 1000;
constexpr int kAfterClickMilliseconds = 500;

struct Point
{
    int x;
    int y;
};

Point parsePoint(const std::string& text)
{
    const auto comma = text.find(',');
    if (comma == std::string::npos)
        throw UsageError("--click wants X,Y");
    return {int(parseInteger(text.substr(0, comma), "--click x")),
            int(parseInteger(text.substr(comma + 1), "--click y"))};
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
} // namespace

int runEditor(Arguments& arguments)
{
    const auto outPath = arguments.option("--out");
    if (!outPath)
        throw UsageError("--out FILE.png is required");
    const auto gain = arguments.option("--gain");
    const auto direction = arguments.option("--direction");
    if (gain)
        parseNumber(*gain, "--gain");
    if (direction)
        parseInteger(*direction, "--direction");
    const int settle = int(parseInteger(
        arguments.option("--settle-ms").value_or(std::to_string(kDefaultSettleMilliseconds)),
        "--settle-ms"));
    std::vector<Point> clicks;
    for (const auto& text : arguments.options("--click"))
        clicks.push_back(parsePoint(text));
    const auto words = arguments.positionals(1, "the plug-in path");

    if (!EditorSession::displayAvailable())
        throw std::runtime_error("no X display (set DISPLAY, or run under Xvfb)");

    HostContext context;
    PluginLibrary library(words[0]);
    HostedEffect effect(library, context);
    std::printf("loaded %s (entry %s): %s\n", library.path().c_str(), library.entryName().c_str(),
                effect.summary().c_str());
    effect.open();
    if (gain || direction)
        std::printf("chunk answered %ld\n", long(effect.setChunk(makeStateBlock(gain, direction))));
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
            session.idle(settle);
            for (const auto& point : clicks)
            {
                std::printf("click at %d,%d\n", point.x, point.y);
                session.click(point.x, point.y);
                session.idle(kAfterClickMilliseconds);
            }
            const juce::Image shot = session.capture();
            writePng(shot, *outPath);
            std::printf("screenshot: %s (%d x %d)\n", outPath->c_str(), shot.getWidth(),
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
