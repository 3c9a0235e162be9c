#pragma once

#include "editor/AltLookAndFeel.h"

/** The one AltLookAndFeel that serves as the process-wide default while any editor is open.

    The framework keeps a single default look-and-feel and resolves every typeface through it, so
    editors of several plug-in instances must share it: one editor closing must not take the
    colours and the Roboto face away from another. Editors hold it through
    juce::SharedResourcePointer, which creates it for the first editor and deletes it after the
    last. Message thread only. */
class SharedDefaultLookAndFeel
{
public:
    SharedDefaultLookAndFeel();
    /** Stops being the default (if it still is) and forgets the typefaces it served. */
    ~SharedDefaultLookAndFeel();

    /** Makes the shared look-and-feel the default; when that changes the default, the typeface
        cache is cleared so that fonts resolved earlier switch to Roboto. */
    void install();

    AltLookAndFeel& get() noexcept { return lookAndFeel; }

private:
    bool isDefault() const;

    AltLookAndFeel lookAndFeel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(SharedDefaultLookAndFeel)
};
