// The stand-in for the platform frameworks: one shared library that keeps the table of
// registered components and open instances, and answers, by the platform's names, the calls the
// Audio Unit layer looks up at run time or makes on connected units.
//
// Hosts (our test hosts) register a component by its factory or by its Component Manager entry,
// open instances of it here, and then drive the unit through its plug-in block or its entry.
// Calls made on an instance (AudioUnitGetProperty, AudioUnitRender) reach the unit the way it
// was opened: through its block's Lookup, or through its entry with a parameter block.
#pragma once

#include "platform/AudioUnitTypes.h"

extern "C"
{
    // Looked up by name by the Audio Unit layer ---------------------------------------------
    AudioComponent AudioComponentInstanceGetComponent(AudioComponentInstance instance);
    OSStatus AudioComponentGetDescription(AudioComponent component,
                                          AudioComponentDescription* outDescription);
    void* GetComponentInstanceStorage(ComponentInstance instance);
    void SetComponentInstanceStorage(ComponentInstance instance, void* storage);
    /** Accepts a component or an open instance; the three handles are ignored. */
    OSErr GetComponentInfo(Component component, ComponentDescription* outDescription, Handle name,
                           Handle info, Handle icon);

    // The component and instance table, for hosts -------------------------------------------
    /** A component opened through its AudioComponent factory; lives until the process ends. */
    AudioComponent VeridaneRegisterAudioComponent(const AudioComponentDescription* description,
                                                  AudioComponentFactoryFunction factory);
    /** A component opened through its Component Manager entry; lives until the process ends. */
    Component VeridaneRegisterComponent(const ComponentDescription* description,
                                        ComponentRoutine entry);

    /** Calls the factory and the block's Open; a failed Open leaves no instance behind. */
    OSStatus AudioComponentInstanceNew(AudioComponent component,
                                       AudioComponentInstance* outInstance);
    /** Calls the block's Close. */
    OSStatus AudioComponentInstanceDispose(AudioComponentInstance instance);
    /** Calls the entry with the open selector; the unit stores itself as the storage. */
    OSErr OpenAComponent(Component component, ComponentInstance* outInstance);
    /** Calls the entry with the close selector and the instance's storage. */
    OSErr CloseComponent(ComponentInstance instance);

    // Parameter events, for hosts ---------------------------------------------------------
    typedef void (*VeridaneAUEventObserver)(void* refCon, const AudioUnitEvent* event);
    /** Every event a unit sends through AUEventListenerNotify reaches the observer, on the
        sending thread; a null observer stops it. One observer per process. */
    void VeridaneSetAUEventObserver(VeridaneAUEventObserver observer, void* refCon);
}
