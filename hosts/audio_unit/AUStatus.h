// Deep inside the layer a failure is thrown as the plain 32-bit status it stands for; the entry
// points turn it back into their answer. Throwing through this helper makes the thrown type
// OSStatus, never the enumeration a status constant happens to have.
#pragma once

#include "platform/AudioUnitTypes.h"

[[noreturn]] inline void ThrowStatus(OSStatus status)
{
    throw status;
}
