// The bundle's Audio Unit entry points, the only symbols it exports for this interface: the
// AudioComponent factory and the Component Manager entry.
#include "wrappers/audio_unit/AUEntry.h"

#define VERIDANE_EXPORT __attribute__((visibility("default")))

extern "C" VERIDANE_EXPORT AudioComponentPlugInInterface*
VeridaneAUFactory(const AudioComponentDescription* description)
{
    return veridane::au::factory(description);
}

extern "C" VERIDANE_EXPORT OSStatus VeridaneAUEntry(ComponentParameters* params, void* storage)
{
    return veridane::au::entry(params, storage);
}
