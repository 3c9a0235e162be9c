// The bundle's VST 2 entry points, the only symbols it exports for this interface. Linux hosts
// look up VSTPluginMain, older ones main.
#include "wrappers/vst2/VstEntry.h"

#define VERIDANE_EXPORT __attribute__((visibility("default")))

extern "C" VERIDANE_EXPORT AEffect* VSTPluginMain(audioMasterCallback hostCallback)
{
    return veridane::vst2::createEffect(hostCallback);
}

// A function named main may not return a pointer in C++, so the symbol gets its name from the
// assembler instead.
extern "C" VERIDANE_EXPORT AEffect*
veridaneVstMain(audioMasterCallback hostCallback) __asm__("main");

extern "C" AEffect* veridaneVstMain(audioMasterCallback hostCallback)
{
    return veridane::vst2::createEffect(hostCallback);
}
