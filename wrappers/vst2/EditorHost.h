#pragma once

#include "hosts/vst2/VstAbi.h"
#include "wrappers/common/EditorEmbedding.h"

namespace veridane::vst2
{

/** The editor opcodes: the processor's editor inside the host's X11 window, its size as the
    host's rectangle. Calls come from the host's user-interface thread. */
class EditorHost
{
public:
    explicit EditorHost(juce::AudioProcessor& processorToEdit) : embedding(processorToEdit) {}

    /** Stores through rect a pointer to the editor's rectangle (top, left, bottom, right), which
        stays valid as long as this object. Creates the editor to learn its size. Answers false
        for a null rect, and without a display or an editor (then the rectangle is all zeros and
        nothing connects to an X server). */
    bool getRect(ERect** rect);

    /** Embeds the editor into the host's window, given as its X11 window id. Answers false for a
        null window, without a display, or when the processor has no editor. */
    bool open(void* parentWindow) { return embedding.embedInto(parentWindow); }

    /** Deletes the editor; the processor lives on. */
    void close() { embedding.close(); }

    /** Nothing to do: the plug-in's own message thread dispatches the editor's events. */
    void idle() {}

private:
    wrappers::EditorEmbedding embedding;
    ERect rectangle{};
};

} // namespace veridane::vst2
