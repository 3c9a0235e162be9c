// The Audio Unit selectors a unit serves and how the two roads in differ: which road serves each,
// whether the call takes the unit's mutex on that road, and what a can-do query answers. The
// plug-in methods, the Component Manager dispatch and the tests read these rows and nothing else.
#pragma once

#include "platform/AudioUnitTypes.h"

#include <array>

/** What a Component Manager can-do query answers for a selector. */
enum class AUCanDo : UInt8
{
    no,
    yes,
    /** Only a unit that speaks the second API version serves it. */
    fromAPIVersion2,
};

struct AUSelectorRow
{
    SInt16 selector;
    const char* name;
    /** The arguments after the instance word, one 8-byte word each in a parameter block. */
    UInt8 argumentWords;
    /** Lookup hands out a method for it. */
    bool plugInRoad;
    /** The call takes the unit's mutex. A host calls the real-time selectors (render,
        parameters set or scheduled, MIDI) on its audio thread, which must never wait for its
        other threads: on neither road do they take it. */
    bool plugInLocks;
    /** The Component Manager dispatch serves it (the MIDI selectors through the MIDI dispatch). */
    bool componentManagerRoad;
    bool componentManagerLocks;
    AUCanDo canDo;
};

inline constexpr std::array<AUSelectorRow, 17> kAUSelectorTable{{
    // selector, name, arguments, plug-in road and lock, Component Manager road and lock, can-do
    {kAudioUnitInitializeSelect, "Initialize", 0, true, true, true, true, AUCanDo::yes},
    {kAudioUnitUninitializeSelect, "Uninitialize", 0, true, true, true, true, AUCanDo::yes},
    {kAudioUnitGetPropertyInfoSelect, "GetPropertyInfo", 5, true, true, true, true, AUCanDo::yes},
    {kAudioUnitGetPropertySelect, "GetProperty", 5, true, true, true, true, AUCanDo::yes},
    {kAudioUnitSetPropertySelect, "SetProperty", 5, true, true, true, true, AUCanDo::yes},
    {kAudioUnitGetParameterSelect, "GetParameter", 4, true, true, true, true, AUCanDo::yes},
    {kAudioUnitSetParameterSelect, "SetParameter", 5, true, false, true, false, AUCanDo::yes},
    {kAudioUnitResetSelect, "Reset", 2, true, true, true, true, AUCanDo::yes},
    {kAudioUnitAddPropertyListenerSelect, "AddPropertyListener", 3, true, true, true, true,
     AUCanDo::yes},
    {kAudioUnitRemovePropertyListenerSelect, "RemovePropertyListener", 2, true, true, false, false,
     AUCanDo::no},
    {kAudioUnitRenderSelect, "Render", 5, true, false, true, false, AUCanDo::fromAPIVersion2},
    {kAudioUnitAddRenderNotifySelect, "AddRenderNotify", 2, true, true, true, true,
     AUCanDo::fromAPIVersion2},
    {kAudioUnitRemoveRenderNotifySelect, "RemoveRenderNotify", 2, true, true, true, true,
     AUCanDo::fromAPIVersion2},
    {kAudioUnitScheduleParametersSelect, "ScheduleParameters", 2, true, false, true, false,
     AUCanDo::fromAPIVersion2},
    {kAudioUnitRemovePropertyListenerWithUserDataSelect, "RemovePropertyListenerWithUserData", 3,
     true, true, true, true, AUCanDo::fromAPIVersion2},
    {kMusicDeviceMIDIEventSelect, "MIDIEvent", 4, true, false, true, false, AUCanDo::no},
    {kMusicDeviceSysExSelect, "SysEx", 2, true, false, true, false, AUCanDo::no},
}};

/** The row of a selector, or null for one no road serves. */
constexpr const AUSelectorRow* FindAUSelector(SInt16 selector)
{
    for (const AUSelectorRow& row : kAUSelectorTable)
        if (row.selector == selector)
            return &row;
    return nullptr;
}

/** Whether the plug-in method of a selector takes the unit's mutex. */
constexpr bool PlugInLocks(SInt16 selector)
{
    const AUSelectorRow* row = FindAUSelector(selector);
    return row != nullptr && row->plugInLocks;
}
