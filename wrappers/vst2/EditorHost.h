#pragma once

#include "hosts/vst2/VstAbi.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>

namespace veridane::vst2
{

/** The processor's editor inside the host's X11 window. The editor is created, embedded and
    deleted on the plug-in's message thread; these calls come from the host's user-interface
    thread and wait for it. Without a display the editor is never embedded. */
class EditorHost
{
public:
    explicit EditorHost(juce::AudioProcessor& processorToEdit);
    /** Deletes the editor, if any. */
    ~EditorHost();

    /** Stores through rect a pointer to the editor's rectangle (top, left, bottom, right), which
        stays valid as long as this object. Creates the editor to learn its size. Answers false
        for a null rect, and when there is no editor (then the rectangle is all zeros). */
    bool getRect(ERect** rect);

    /** Embeds the editor into the host's window, given as its X11 window id. Answers false for a
        null window, without a display, or when the processor has no editor. */
    bool open(void* parentWindow);

    /** Deletes the editor; the processor lives on. */
    void close();

    /** Nothing to do: the plug-in's own message thread dispatches the editor's events. */
    void idle() {}

private:
    /** Message thread. */
    juce::AudioProcessorEditor* editorOnMessageThread();
    /** Message thread. */
    void deleteEditorOnMessageThread();

    juce::AudioProcessor& processor;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
    ERect rectangle{};

    JUCE_DECLARE_NON_COPYABLE(EditorHost)
};

} // namespace veridane::vst2
