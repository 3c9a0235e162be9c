#include "wrappers/common/EditorEmbedding.h"

#include "wrappers/common/MessageThread.h"

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
    return displayConfigured() &&
           juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr;
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
            if (e->isOnDesktop())
                e->removeFromDesktop();
            e->setVisible(true);
            e->addToDesktop(0, parentWindow);
            embedded = e->isOnDesktop();
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
        editor.reset(processor.createEditorIfNeeded());
    return editor.get();
}

void EditorEmbedding::deleteEditorOnMessageThread()
{
    if (editor == nullptr)
        return;
    // The processor must forget its active editor before that editor goes.
    processor.editorBeingDeleted(editor.get());
    editor.reset();
}

} // namespace veridane::wrappers
