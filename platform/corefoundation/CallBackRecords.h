// What the callback records hold. Callers only ever pass their addresses; the stand-in reads
// them, and a library bound to a process's stand-in defines its own and passes the process's on.
#pragma once

#include "platform/CoreFoundation.h"

struct CFDictionaryKeyCallBacks
{
    int retainsAndComparesByContent;
};

struct CFDictionaryValueCallBacks
{
    int retains;
};

struct CFArrayCallBacks
{
    int retains;
};
