#pragma once

#include "wrappers/common/EmbeddedEditorFrame.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <optional>

namespace veridane::wrappers
{

/** The processor's editor inside a host's X11 window, for every interface. The editor is created,
    embedded and deleted on the plug-in's message thread; these calls come from host threads and
    wait for it. Without a display nothing is embedded.
    The owner holds a MessageThread::User for at least as long as this object. */
class EditorEmbedding
{
public:
    explicit EditorEmbedding(juce::AudioProcessor& processorToEdit);
    /** Deletes the editor, if any. */
    ~EditorEmbedding();

    /** The editor's size, creating the editor to learn it; nothing without a display (nothing is
        created then) or when the processor has no editor. */
    std::optional<juce::Rectangle<int>> size();

    /** Embeds the editor into the host's window, given as its X11 window id; a second call moves
        it. Answers false for a null window, without a display, or without an editor. */
    bool embedInto(void* parentWindow);

    /** Deletes the editor; the processor lives on. The host may have destroyed its window
        before. */
    void close();

    /** Message thread: the editor if it exists, for a caller already running there. */
    juce::AudioProcessorEditor* editorOnMessageThread() const noexcept { return editor.get(); }

private:
    /** Message thread. */
    juce::AudioProcessorEditor* createEditorOnMessageThread();
    /** Message thread. */
    void deleteEditorOnMessageThread();

    juce::AudioProcessor& processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    /** Holds the editor while it is in a host's window. */
    std::unique_ptr<EmbeddedEditorFrame> frame;

    JUCE_DECLARE_NON_COPYABLE(EditorEmbedding)
};

/** Whether an X display is there to embed into: DISPLAY set and not empty. Checked before JUCE
    opens any connection, since JUCE would otherwise fall back to ":0", a server the host never
    chose. Any thread. */
bool displayConfigured() noexcept;

} // namespace veridane::wrappers
