#include "hosts/audio_unit/AUPropertyTable.h"

#include <algorithm>
#include <iterator>

namespace
{
using enum AUScopeRule;
using enum AUWritableRule;
using enum AUSizeRule;

constexpr UInt8 kInfoAndGet = kAnswersInfo | kAnswersGet;
constexpr UInt8 kInfoGetAndSet = kInfoAndGet | kAnswersSet;
constexpr UInt8 kAll = kInfoGetAndSet | kAnswersRemove;

// clang-format off
// Each row: id, name, answers;
//   info: scope, size (0: worked out), writable, element check;
//   set:  size rule, size, scope, element check, scope and element checked before the size.
constexpr AUPropertyRow kRows[] = {
    {kAudioUnitProperty_ClassInfo, "ClassInfo", kInfoGetAndSet,
     globalOnly, 8, yes, true,
     exactly, 8, globalOnly, false, false},
    {kAudioUnitProperty_MakeConnection, "MakeConnection", kInfoGetAndSet,
     globalOrInput, 16, yes, true,
     atLeast, 16, any, false, false},
    {kAudioUnitProperty_SampleRate, "SampleRate", kInfoGetAndSet,
     any, 8, streamFormat, true,
     exactly, 8, any, true, false},
    {kAudioUnitProperty_ParameterList, "ParameterList", kInfoAndGet,
     any, 0, no, false,
     none, 0, any, false, false},
    {kAudioUnitProperty_ParameterInfo, "ParameterInfo", kInfoAndGet,
     any, 104, no, false,
     none, 0, any, false, false},
    {kAudioUnitProperty_FastDispatch, "FastDispatch", kInfoAndGet,
     globalOnly, 8, no, false,
     none, 0, any, false, false},
    {kAudioUnitProperty_StreamFormat, "StreamFormat", kInfoGetAndSet,
     any, 40, streamFormat, true,
     atLeast, 36, any, true, false},
    {kAudioUnitProperty_ElementCount, "ElementCount", kInfoGetAndSet,
     any, 4, busCount, false,
     exactly, 4, any, false, false},
    {kAudioUnitProperty_Latency, "Latency", kInfoAndGet,
     globalOnly, 8, no, true,
     none, 0, any, false, false},
    {kAudioUnitProperty_SupportedNumChannels, "SupportedNumChannels", kInfoAndGet,
     globalOnly, 0, no, true,
     none, 0, any, false, false},
    {kAudioUnitProperty_MaximumFramesPerSlice, "MaximumFramesPerSlice", kInfoGetAndSet,
     globalOnly, 4, yes, true,
     exactly, 4, any, false, false},
    {kAudioUnitProperty_SetExternalBuffer, "SetExternalBuffer", kAnswersSet,
     any, 0, no, false,
     atLeast, 16, any, false, false},
    {kAudioUnitProperty_ParameterValueStrings, "ParameterValueStrings", kInfoAndGet,
     any, 8, no, false,
     none, 0, any, false, false},
    {kAudioUnitProperty_GetUIComponentList, "GetUIComponentList", kInfoAndGet,
     globalOnly, 0, no, true,
     none, 0, any, false, false},
    {kAudioUnitProperty_AudioChannelLayout, "AudioChannelLayout", kAll,
     any, 0, channelLayout, false,
     atLeast, 12, any, false, false},
    {kAudioUnitProperty_TailTime, "TailTime", kInfoAndGet,
     globalOnly, 8, no, true,
     none, 0, any, false, false},
    {kAudioUnitProperty_LastRenderError, "LastRenderError", kInfoAndGet,
     globalOnly, 4, no, true,
     none, 0, any, false, false},
    {kAudioUnitProperty_SetRenderCallback, "SetRenderCallback", kInfoAndGet | kAnswersSet,
     globalOrInput, 16, yes, true,
     atLeast, 16, any, false, false},
    {kAudioUnitProperty_FactoryPresets, "FactoryPresets", kInfoAndGet,
     globalOnly, 8, no, true,
     none, 0, any, false, false},
    {kAudioUnitProperty_ContextName, "ContextName", kAll,
     globalOnly, 8, yes, true,
     exactly, 8, globalOnly, false, false},
    {kAudioUnitProperty_HostCallbacks, "HostCallbacks", kAll,
     globalOnly, 32, yes, true,
     none, 0, globalOnly, false, false},
    {kAudioUnitProperty_ElementName, "ElementName", kInfoGetAndSet,
     any, 8, yes, true,
     exactly, 8, any, true, true},
    {kAudioUnitProperty_SupportedChannelLayoutTags, "SupportedChannelLayoutTags", kInfoAndGet,
     any, 0, no, false,
     none, 0, any, false, false},
    {kAudioUnitProperty_ParameterClumpName, "ParameterClumpName", kInfoAndGet,
     any, 16, no, true,
     none, 0, any, false, false},
    {kAudioUnitProperty_PresentPreset, "PresentPreset", kInfoGetAndSet,
     globalOnly, 16, yes, true,
     exactly, 16, globalOnly, false, false},
    {kAudioUnitProperty_IconLocation, "IconLocation", kInfoAndGet,
     globalOnly, 8, no, true,
     none, 0, any, false, false},
    {kAudioUnitProperty_ShouldAllocateBuffer, "ShouldAllocateBuffer", kInfoGetAndSet,
     inputOrOutput, 4, yes, true,
     exactly, 4, inputOrOutput, true, true},
    {kAudioUnitProperty_ParameterHistoryInfo, "ParameterHistoryInfo", kInfoAndGet,
     any, 8, no, false,
     none, 0, any, false, false},
    {kAUBaseProperty_LastRenderSampleTime, "LastRenderSampleTime", kInfoAndGet,
     any, 8, no, true,
     none, 0, any, false, false},
};
// clang-format on

constexpr AudioUnitPropertyID kObjectValued[] = {
    kAudioUnitProperty_ClassInfo,      kAudioUnitProperty_ParameterValueStrings,
    kAudioUnitProperty_FactoryPresets, kAudioUnitProperty_ContextName,
    kAudioUnitProperty_ElementName,    kAudioUnitProperty_ParameterClumpName,
    kAudioUnitProperty_PresentPreset,  kAudioUnitProperty_IconLocation,
    kMusicDeviceProperty_MIDIXMLNames,
};

static_assert(std::is_sorted(std::begin(kRows), std::end(kRows),
                             [](const AUPropertyRow& a, const AUPropertyRow& b)
                             { return a.id < b.id; }));
} // namespace

std::span<const AUPropertyRow> AUBasePropertyTable()
{
    return kRows;
}

const AUPropertyRow* FindAUBaseProperty(AudioUnitPropertyID id)
{
    const auto* row = std::lower_bound(std::begin(kRows), std::end(kRows), id,
                                       [](const AUPropertyRow& r, AudioUnitPropertyID wanted)
                                       { return r.id < wanted; });
    return row != std::end(kRows) && row->id == id ? row : nullptr;
}

bool IsScopeAllowed(AUScopeRule rule, AudioUnitScope scope)
{
    switch (rule)
    {
    case AUScopeRule::globalOnly:
        return scope == kAudioUnitScope_Global;
    case AUScopeRule::globalOrInput:
        return scope == kAudioUnitScope_Global || scope == kAudioUnitScope_Input;
    case AUScopeRule::inputOrOutput:
        return scope == kAudioUnitScope_Input || scope == kAudioUnitScope_Output;
    case AUScopeRule::any:
        break;
    }
    return true;
}

bool IsObjectValuedProperty(AudioUnitPropertyID id)
{
    return std::find(std::begin(kObjectValued), std::end(kObjectValued), id) !=
           std::end(kObjectValued);
}
