#include "tests/hosts/audio_unit/ParameterRoute.h"

#include "tests/hosts/common/Arguments.h"

ParameterRoute parseParameterRoute(const std::string& name)
{
    if (name == "selector")
        return ParameterRoute::selector;
    if (name == "fast")
        return ParameterRoute::fast;
    if (name == "schedule")
        return ParameterRoute::schedule;
    throw UsageError("unknown parameter route '" + name + "' (selector, fast, schedule)");
}

OSStatus setGlobalParameter(HostedUnit& unit, ParameterRoute route, AudioUnitParameterID id,
                            Float32 value)
{
    switch (route)
    {
    case ParameterRoute::selector:
        return unit.setParameter(id, kAudioUnitScope_Global, 0, value, 0);
    case ParameterRoute::fast:
    {
        AudioUnitSetParameterProc function = nullptr;
        if (const OSStatus status =
                unit.get(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global,
                         kAudioUnitSetParameterSelect, function);
            status != noErr)
            return status;
        return function(unit.storage(), id, kAudioUnitScope_Global, 0, value, 0);
    }
    case ParameterRoute::schedule:
    {
        AudioUnitParameterEvent event{};
        event.scope = kAudioUnitScope_Global;
        event.parameter = id;
        event.eventType = kParameterEvent_Immediate;
        event.eventValues.immediate = {0, value};
        return unit.scheduleParameters(&event, 1);
    }
    }
    return kAudio_ParamError;
}
