#include "wrappers/common/EditorEmbedding.h"

#include "wrappers/common/MessageThread.h"
#include "wrappers/common/WindowManagerAtoms.h"

#include <cstdlib>

namespace veridane::wrappers
{

bool displayConfigured() noexcept
{
    const char* const name = std::getenv("DISPLAY");
    return name != nullptr && *name != 0;
}

namespace
{
/** Message thread. A scanner or a headless host has no X display to embed into. */
bool displayAvailable()
{
    if (!displayConfigured())
        return false;
    createWindowManagerAtoms();
    return juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
}
} // namespace

EditorEmbedding::EditorEmbedding(juce::AudioProcessor& processorToEdit) : processor(processorToEdit)
{
}

EditorEmbedding::~EditorEmbedding()
{
    close();
}

std::optional<juce::Rectangle<int>> EditorEmbedding::size()
{
    // Making the editor makes the framework connect to a display, ":0" when none is set.
    if (!displayConfigured())
        return std::nullopt;

    std::optional<juce::Rectangle<int>> measured;
    MessageThread::runOnMessageThread(
        [&]
        {
            if (auto* const e = createEditorOnMessageThread())
                measured = e->getLocalBounds();
        });
    return measured;
}

bool EditorEmbedding::embedInto(void* parentWindow)
{
    if (parentWindow == nullptr || !displayConfigured())
        return false;

    bool embedded = false;
    MessageThread::runOnMessageThread(
        [&]
        {
            if (!displayAvailable())
                return;
            auto* const e = createEditorOnMessageThread();
            if (e == nullptr)
                return;
            // A second embed moves the editor to the window the host passes now.
            frame.reset();
            frame = std::make_unique<EmbeddedEditorFrame>(*e, parentWindow);
            embedded = frame->isOnDesktop();
            if (!embedded)
                frame.reset();
        });
    return embedded;
}

void EditorEmbedding::close()
{
    MessageThread::runOnMessageThread([this] { deleteEditorOnMessageThread(); });
}

juce::AudioProcessorEditor* EditorEmbedding::createEditorOnMessageThread()
{
    if (editor == nullptr)
    {
        createWindowManagerAtoms();
        editor.reset(processor.createEditorIfNeeded());
    }
    return editor.get();
}

void EditorEmbedding::deleteEditorOnMessageThread()
{
    // The frame holds the editor, and takes it out of the host's window: it goes first.
    frame.reset();
    if (editor == nullptr)
        return;
    // The processor must forget its active editor before that editor goes.
    processor.editorBeingDeleted(editor.get());
    editor.reset();
}

} // namespace veridane::wrappers
