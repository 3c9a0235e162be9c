// midi: a note-on through each road that carries MIDI, and system-exclusive before and after
// initialisation, printing what the unit answered.
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/audio_unit/HostedUnit.h"

#include <array>
#include <cstdio>

namespace
{
/** Note-on, channel 15, middle C, velocity 100. */
constexpr UInt32 kNoteOnChannel15 = 0x9F;
constexpr UInt32 kMiddleC = 60;
constexpr UInt32 kVelocity = 100;
constexpr std::array<UInt8, 6> kIdentityRequest{0xF0, 0x7E, 0x7F, 0x06, 0x01, 0xF7};

OSStatus fastNoteOn(HostedUnit& unit)
{
    MusicDeviceMIDIEventProc function = nullptr;
    if (const OSStatus status = unit.get(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global,
                                         kMusicDeviceMIDIEventSelect, function);
        status != noErr)
        return status;
    return function(unit.storage(), kNoteOnChannel15, kMiddleC, kVelocity, 0);
}
} // namespace

int runMidi(Arguments& arguments)
{
    const auto words = arguments.positionals(1, "the plug-in path");
    BundleLibrary bundle(words[0]);

    for (Road road : {Road::plugIn, Road::componentManager})
    {
        auto unit = HostedUnit::open(bundle, road, true);
        const char* name = roadName(road);
        std::printf("%s note-on uninitialised answered %d\n", name,
                    int(unit->midiEvent(kNoteOnChannel15, kMiddleC, kVelocity, 0)));
        if (road == Road::componentManager)
            std::printf("%s fast note-on answered %d\n", name, int(fastNoteOn(*unit)));
        std::printf("%s sysex uninitialised answered %d\n", name,
                    int(unit->sysEx(kIdentityRequest.data(), UInt32(kIdentityRequest.size()))));
        configureFourChannels(*unit, 48000.0, 512);
        std::printf("%s initialize answered %d\n", name, int(unit->initialize()));
        std::printf("%s note-on answered %d\n", name,
                    int(unit->midiEvent(kNoteOnChannel15, kMiddleC, kVelocity, 0)));
        std::printf("%s sysex answered %d\n", name,
                    int(unit->sysEx(kIdentityRequest.data(), UInt32(kIdentityRequest.size()))));
        std::printf("%s null sysex answered %d\n", name, int(unit->sysEx(nullptr, 6)));
        std::printf("%s close answered %d\n", name, int(unit->close()));
    }
    return exitCode::ok;
}
