// The platform's component model: component and instance handles, component descriptions, the
// parameter block of the Component Manager entry and the functions a unit looks up at run time.
// The handles are opaque here; the frameworks stand-in (platform/frameworks) gives them meaning.
#pragma once

#include "platform/MacTypes.h"

#include <cstddef>
#include <cstdint>

struct ComponentRecord;
struct ComponentInstanceRecord;
struct OpaqueAudioComponent;

typedef ComponentRecord* Component;
/** One open instance; the same handle serves both ways of opening a unit. */
typedef ComponentInstanceRecord* ComponentInstance;
typedef ComponentInstance AudioComponentInstance;
typedef AudioComponentInstance AudioUnit;
typedef OpaqueAudioComponent* AudioComponent;

enum : OSStatus
{
    /** An instance handle that names no open instance. */
    badComponentInstance = OSStatus(0x80008001u),
    /** A selector that no dispatcher serves. */
    badComponentSelector = OSStatus(0x80008002u),
};

/** Selectors of the Component Manager's own calls. */
enum : SInt16
{
    kComponentOpenSelect = -1,
    kComponentCloseSelect = -2,
    kComponentCanDoSelect = -3,
    kComponentVersionSelect = -4,
};

struct ComponentDescription
{
    OSType componentType;
    OSType componentSubType;
    OSType componentManufacturer;
    UInt32 componentFlags;
    UInt32 componentFlagsMask;
};

/** What the Component Manager hands its entry: word 0 of params is the instance, a selector's
    own arguments follow one 8-byte word each (32-bit values in the low half, floats in the low
    four bytes, pointers in the whole word). paramSize counts the bytes of those argument words,
    not the instance word. */
struct ComponentParameters
{
    UInt8 flags;
    UInt8 paramSize;
    SInt16 what;
    UInt32 padding;
    intptr_t params[1];
};

/** The Component Manager entry of a component: every call but open passes the instance's
    storage. */
typedef OSStatus (*ComponentRoutine)(ComponentParameters* params, void* storage);

typedef void* (*GetComponentInstanceStorageProc)(ComponentInstance instance);
typedef void (*SetComponentInstanceStorageProc)(ComponentInstance instance, void* storage);
typedef OSErr (*GetComponentInfoProc)(Component component, ComponentDescription* description,
                                      Handle name, Handle info, Handle icon);

static_assert(sizeof(ComponentDescription) == 20);
static_assert(offsetof(ComponentParameters, paramSize) == 1);
static_assert(offsetof(ComponentParameters, what) == 2);
static_assert(offsetof(ComponentParameters, params) == 8);
static_assert(sizeof(intptr_t) == 8, "the parameter block layout assumes a 64-bit build");
