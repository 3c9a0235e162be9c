#include "wrappers/vst2/EditorHost.h"

#include "wrappers/vst2/MessageThread.h"

#include <cstdlib>
#include <limits>

namespace veridane::vst2
{
namespace
{
std::int16_t toRectCoordinate(int value) noexcept
{
    return static_cast<std::int16_t>(juce::jlimit<int>(
        std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(), value));
}

/** Message thread. A scanner or a headless host has no X display to embed into. Without
    DISPLAY, JUCE would try the local server ":0", which is not the host's. */
bool displayAvailable()
{
    const char* const name = std::getenv("DISPLAY");
    return name != nullptr && *name != 0 &&
           juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}
} // namespace

EditorHost::EditorHost(juce::AudioProcessor& processorToEdit) : processor(processorToEdit) {}

EditorHost::~EditorHost()
{
    close();
}

bool EditorHost::getRect(ERect** rect)
{
    if (rect == nullptr)
        return false;

    bool known = false;
    ERect measured{};
    MessageThread::runOnMessageThread(
        [&]
        {
            if (auto* const e = editorOnMessageThread())
            {
                measured.bottom = toRectCoordinate(e->getHeight());
                measured.right = toRectCoordinate(e->getWidth());
                known = true;
            }
        });
    rectangle = measured;
    *rect = &rectangle;
    return known;
}

bool EditorHost::open(void* parentWindow)
{
    if (parentWindow == nullptr)
        return false;

    bool embedded = false;
    MessageThread::runOnMessageThread(
        [&]
        {
            if (!displayAvailable())
                return;
            auto* const e = editorOnMessageThread();
            if (e == nullptr)
                return;
            // A second open moves the editor to the window the host passes now.
            if (e->isOnDesktop())
                e->removeFromDesktop();
            e->setVisible(true);
            e->addToDesktop(0, parentWindow);
            embedded = e->isOnDesktop();
        });
    return embedded;
}

void EditorHost::close()
{
    MessageThread::runOnMessageThread([this] { deleteEditorOnMessageThread(); });
}

juce::AudioProcessorEditor* EditorHost::editorOnMessageThread()
{
    if (editor == nullptr)
        editor.reset(processor.createEditorIfNeeded());
    return editor.get();
}

void EditorHost::deleteEditorOnMessageThread()
{
    if (editor == nullptr)
        return;
    // The processor must forget its active editor before that editor goes.
    processor.editorBeingDeleted(editor.get());
    editor.reset();
}

} // namespace veridane::vst2
