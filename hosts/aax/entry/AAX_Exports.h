// The library's exported entry points, with plain symbol names: the host's only way in. Each
// catches everything and answers 0x8000FFFF for what escapes; a null out pointer answers -20004
// and nothing is written.
#pragma once

#include "hosts/aax/component/ACF.h"

class AAX_ICollection;

/** Describes the plug-in into the collection; supplied by the plug-in's wrapper. Registration
    returns a non-zero answer unchanged. */
int32_t GetEffectDescriptions(AAX_ICollection* collection);

#define AAX_EXPORT __attribute__((visibility("default")))

extern "C"
{
    /** Lets the plug-in describe itself through the host object and hands back the host's
        plug-in definition. */
    AAX_EXPORT ACFResult ACFRegisterPlugin(IACFUnknown* hostObject, void** outDefinition);
    /** Sets the out pointer to null; 0. */
    AAX_EXPORT ACFResult ACFRegisterComponent(IACFUnknown* hostObject, uint32_t index,
                                              void** outComponent);
    /** The library offers no class factory: null and -20009. */
    AAX_EXPORT ACFResult ACFGetClassFactory(IACFUnknown* hostObject, const ACFGuid& classID,
                                            const ACFGuid& iid, void** outFactory);
    /** The number of live component objects; 0 means the library may be unloaded. */
    AAX_EXPORT ACFResult ACFCanUnloadNow(IACFUnknown* hostObject);
    /** Installs the host's services from the first non-null host object. */
    AAX_EXPORT ACFResult ACFStartup(IACFUnknown* hostObject);
    /** Removes the host's services, whatever the argument. */
    AAX_EXPORT ACFResult ACFShutdown(IACFUnknown* hostObject);
    /** The interface version the library was built against. */
    AAX_EXPORT ACFResult ACFGetSDKVersion(uint64_t* outVersion);
}
