// The Component Manager road into a unit: a parameter block's selector and arguments unpacked
// into the operations the plug-in methods call, with the road's own differences (the selector
// table's locking and can-do answers, the API-version check of scheduled parameters, the render
// time cleared before a reset).
#include "hosts/audio_unit/AUBase.h"

#include "hosts/audio_unit/AUSelectorTable.h"
#include "hosts/audio_unit/CAMutex.h"
#include "hosts/audio_unit/ComponentParameterWords.h"

#include <optional>

namespace
{
/** The answer for an Audio Unit selector; nothing for the ones ComponentBase answers. */
std::optional<OSStatus> CanDo(const AUBase& unit, const ComponentParameters* params)
{
    const AUSelectorRow* row = FindAUSelector(ComponentBase::GetSelectorForCanDo(params));
    if (row == nullptr)
        return std::nullopt;
    switch (row->canDo)
    {
    case AUCanDo::yes:
        return 1;
    case AUCanDo::fromAPIVersion2:
        return unit.AudioUnitAPIVersion() >= 2 ? 1 : 0;
    case AUCanDo::no:
        break;
    }
    return 0;
}
} // namespace

OSStatus AUBase::ComponentEntryDispatch(ComponentParameters* params, AUBase* This)
{
    if (params == nullptr || This == nullptr)
        return kAudio_ParamError;
    const ComponentParameters& p = *params;

    if (p.what == kComponentCanDoSelect)
    {
        const auto answer = CanDo(*This, params);
        return answer ? *answer : ComponentBase::ComponentEntryDispatch(params, This);
    }
    const AUSelectorRow* row = FindAUSelector(p.what);
    if (row == nullptr || !row->componentManagerRoad)
        return ComponentBase::ComponentEntryDispatch(params, This);
    if (!HoldsArguments(p, row->argumentWords))
        return kAudio_ParamError;

    const CAMutexLocker lock(row->componentManagerLocks ? This->GetMutex() : nullptr);
    switch (p.what)
    {
    case kAudioUnitInitializeSelect:
        return This->DoInitialize();
    case kAudioUnitUninitializeSelect:
        This->DoCleanup();
        return noErr;
    case kAudioUnitGetPropertyInfoSelect:
        return This->GetPropertyInfoForHost(ParameterUInt32(p, 1), ParameterUInt32(p, 2),
                                            ParameterUInt32(p, 3), ParameterPointer<UInt32*>(p, 4),
                                            ParameterPointer<Boolean*>(p, 5));
    case kAudioUnitGetPropertySelect:
        return This->GetPropertyForHost(ParameterUInt32(p, 1), ParameterUInt32(p, 2),
                                        ParameterUInt32(p, 3), ParameterPointer<void*>(p, 4),
                                        ParameterPointer<UInt32*>(p, 5));
    case kAudioUnitSetPropertySelect:
        return This->SetPropertyForHost(ParameterUInt32(p, 1), ParameterUInt32(p, 2),
                                        ParameterUInt32(p, 3), ParameterPointer<const void*>(p, 4),
                                        ParameterUInt32(p, 5));
    case kAudioUnitGetParameterSelect:
    {
        auto* outValue = ParameterPointer<AudioUnitParameterValue*>(p, 4);
        if (outValue == nullptr)
            return kAudio_ParamError;
        return This->GetParameter(ParameterUInt32(p, 1), ParameterUInt32(p, 2),
                                  ParameterUInt32(p, 3), *outValue);
    }
    case kAudioUnitSetParameterSelect:
        return This->SetParameter(ParameterUInt32(p, 1), ParameterUInt32(p, 2),
                                  ParameterUInt32(p, 3), ParameterFloat32(p, 4),
                                  ParameterUInt32(p, 5));
    case kAudioUnitResetSelect:
        This->ResetRenderTime();
        return This->Reset(ParameterUInt32(p, 1), ParameterUInt32(p, 2));
    case kAudioUnitAddPropertyListenerSelect:
        return This->AddPropertyListener(ParameterUInt32(p, 1),
                                         ParameterPointer<AudioUnitPropertyListenerProc>(p, 2),
                                         ParameterPointer<void*>(p, 3));
    case kAudioUnitRemovePropertyListenerWithUserDataSelect:
        return This->RemovePropertyListener(ParameterUInt32(p, 1),
                                            ParameterPointer<AudioUnitPropertyListenerProc>(p, 2),
                                            ParameterPointer<void*>(p, 3), true);
    case kAudioUnitRenderSelect:
        return This->RenderForHost(ParameterPointer<AudioUnitRenderActionFlags*>(p, 1),
                                   ParameterPointer<const AudioTimeStamp*>(p, 2),
                                   ParameterUInt32(p, 3), ParameterUInt32(p, 4),
                                   ParameterPointer<AudioBufferList*>(p, 5));
    case kAudioUnitAddRenderNotifySelect:
        return This->SetRenderNotification(ParameterPointer<AURenderCallback>(p, 1),
                                           ParameterPointer<void*>(p, 2));
    case kAudioUnitRemoveRenderNotifySelect:
        return This->RemoveRenderNotification(ParameterPointer<AURenderCallback>(p, 1),
                                              ParameterPointer<void*>(p, 2));
    case kAudioUnitScheduleParametersSelect:
        if (This->mAudioUnitAPIVersion < 2)
            return badComponentSelector;
        return This->ScheduleParameter(ParameterPointer<const AudioUnitParameterEvent*>(p, 1),
                                       ParameterUInt32(p, 2));
    default:
        // The MIDI selectors are served before the dispatch reaches AUBase.
        return ComponentBase::ComponentEntryDispatch(params, This);
    }
}
