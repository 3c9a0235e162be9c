// What the handles of the frameworks stand-in point at. Components and instances start with the
// same header, so a call that accepts either can tell them apart.
#pragma once

#include "platform/frameworks/Frameworks.h"

namespace veridane::frameworks
{

enum class RecordKind : UInt32
{
    component = 0x436F6D70,
    instance = 0x496E7374,
};

struct RecordHeader
{
    RecordKind kind;
};

} // namespace veridane::frameworks

struct ComponentRecord : veridane::frameworks::RecordHeader
{
    AudioComponentDescription description;
    /** One of the two is set: how instances of this component are opened. */
    AudioComponentFactoryFunction factory;
    ComponentRoutine entry;
};

struct ComponentInstanceRecord : veridane::frameworks::RecordHeader
{
    ComponentRecord* component;
    /** The unit's plug-in block when it was opened through its factory. */
    AudioComponentPlugInInterface* plugIn;
    /** What the unit stored when it was opened through its entry. */
    void* storage;
};

namespace veridane::frameworks
{

/** The open instance behind a handle, or null when the handle names none. */
ComponentInstanceRecord* FindInstance(ComponentInstance instance);
/** The component behind a component handle or an open instance, or null. */
ComponentRecord* FindComponent(const void* componentOrInstance);

} // namespace veridane::frameworks
