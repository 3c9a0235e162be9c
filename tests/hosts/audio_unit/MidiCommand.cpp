// midi: a note-on through each road that carries MIDI, and system-exclusive before and after
// initialisation, printing what the unit answered.
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/audio_unit/HostedUnit.h"

#include <cstdio>

namespace
{
/** Note-on, channel 15, middle C, velocity 100. */
constexpr UInt32 kNoteOn[] = {0x9F, 60, 100, 0};
constexpr UInt8 kIdentityRequest[] = {0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};

OSStatus noteOn(HostedUnit& unit)
{
    return unit.call(kMusicDeviceMIDIEventSelect, kNoteOn[0], kNoteOn[1], kNoteOn[2], kNoteOn[3]);
}

OSStatus fastNoteOn(HostedUnit& unit)
{
    MusicDeviceMIDIEventProc function = nullptr;
    const OSStatus status = unit.fastFunction(kMusicDeviceMIDIEventSelect, function);
    return status != noErr ? status
                           : function(unit.storage, kNoteOn[0], kNoteOn[1], kNoteOn[2], kNoteOn[3]);
}
} // namespace

int runMidi(Arguments& arguments)
{
    const auto words = arguments.positionals(1, "the plug-in path");
    BundleLibrary bundle(words[0]);
    for (bool componentManager : {false, true})
    {
        UnitOptions options;
        options.componentManager = componentManager;
        HostedUnit unit(bundle, options);
        const auto say = [&](const char* what, OSStatus status)
        { std::printf("%s %s answered %d\n", options.roadName(), what, int(status)); };

        say("note-on uninitialised", noteOn(unit));
        if (componentManager)
            say("fast note-on", fastNoteOn(unit));
        say("sysex uninitialised", unit.sysEx(kIdentityRequest, sizeof kIdentityRequest));
        configureFourChannels(unit, 48000.0, 512);
        say("initialize", unit.initialize());
        say("note-on", noteOn(unit));
        say("sysex", unit.sysEx(kIdentityRequest, sizeof kIdentityRequest));
        say("null sysex", unit.sysEx(nullptr, sizeof kIdentityRequest));
        say("close", unit.close());
    }
    return exitCode::ok;
}
