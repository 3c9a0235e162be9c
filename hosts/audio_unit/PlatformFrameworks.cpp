// The one file that knows the frameworks path, built once per path (see CMakeLists.txt).
//
// AudioUnitGetProperty, AudioUnitRender and AUEventListenerNotify are linked directly on the
// platform. Here they are defined by this layer and forward to the functions of the same names in
// the frameworks library, looked up on first use. Without the library there is no open instance
// to reach, so the two unit calls answer badComponentInstance, and nobody listens to events.
#include "hosts/audio_unit/PlatformFrameworks.h"

#include "platform/AudioUnitTypes.h"

#include <dlfcn.h>

#ifndef VERIDANE_FRAMEWORKS_PATH
#error "VERIDANE_FRAMEWORKS_PATH must name the frameworks library"
#endif

const char* const kAudioUnitFrameworkPath = VERIDANE_FRAMEWORKS_PATH;
const char* const kCoreServicesFrameworkPath = VERIDANE_FRAMEWORKS_PATH;

namespace
{
struct UnitCalls
{
    decltype(&AudioUnitGetProperty) getProperty = nullptr;
    decltype(&AudioUnitRender) render = nullptr;
    decltype(&AUEventListenerNotify) notify = nullptr;
};

const UnitCalls& TheUnitCalls()
{
    static const UnitCalls calls = []
    {
        UnitCalls found;
        if (void* framework = dlopen(kAudioUnitFrameworkPath, RTLD_LAZY | RTLD_LOCAL))
        {
            found.getProperty = reinterpret_cast<decltype(&AudioUnitGetProperty)>(
                dlsym(framework, "AudioUnitGetProperty"));
            found.render =
                reinterpret_cast<decltype(&AudioUnitRender)>(dlsym(framework, "AudioUnitRender"));
            found.notify = reinterpret_cast<decltype(&AUEventListenerNotify)>(
                dlsym(framework, "AUEventListenerNotify"));
        }
        return found;
    }();
    return calls;
}
} // namespace

OSStatus AudioUnitGetProperty(AudioUnit inUnit, AudioUnitPropertyID inID, AudioUnitScope inScope,
                              AudioUnitElement inElement, void* outData, UInt32* ioDataSize)
{
    const auto getProperty = TheUnitCalls().getProperty;
    if (getProperty == nullptr)
        return badComponentInstance;
    return getProperty(inUnit, inID, inScope, inElement, outData, ioDataSize);
}

OSStatus AudioUnitRender(AudioUnit inUnit, AudioUnitRenderActionFlags* ioActionFlags,
                         const AudioTimeStamp* inTimeStamp, UInt32 inOutputBusNumber,
                         UInt32 inNumberFrames, AudioBufferList* ioData)
{
    const auto render = TheUnitCalls().render;
    if (render == nullptr)
        return badComponentInstance;
    return render(inUnit, ioActionFlags, inTimeStamp, inOutputBusNumber, inNumberFrames, ioData);
}

OSStatus AUEventListenerNotify(AUEventListenerRef inSendingListener, void* inSendingObject,
                               const AudioUnitEvent* inEvent)
{
    const auto notify = TheUnitCalls().notify;
    if (notify == nullptr)
        return noErr;
    return notify(inSendingListener, inSendingObject, inEvent);
}
