// The process-wide constant strings of the saved state: the default preset name and the keys of
// the class-info dictionary. Bound on first use and never released.
#pragma once

#include "platform/CoreFoundation.h"

struct AUPresetKeys
{
    CFStringRef untitled;
    CFStringRef version;
    CFStringRef type;
    CFStringRef subtype;
    CFStringRef manufacturer;
    CFStringRef data;
    CFStringRef name;
    CFStringRef renderQuality;
    CFStringRef cpuLoad;
    CFStringRef elementName;
    CFStringRef part;

    static const AUPresetKeys& Get();
};
