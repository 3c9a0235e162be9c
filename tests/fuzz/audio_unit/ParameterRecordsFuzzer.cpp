// Feeds arbitrary bytes to the reader of saved parameter records, on a unit whose elements hold
// parameters by id and by index. Whatever the bytes, the reader either takes whole records or
// refuses them before anything changes, and what it took saves back into records it takes again.
#include "hosts/audio_unit/AUSavedParameters.h"

#include "tests/fuzz/audio_unit/FuzzUnit.h"

#include <cstddef>
#include <cstdint>

using namespace autest;

namespace
{
OSStatus Restore(FuzzUnit& unit, const UInt8* data, size_t size)
{
    return StatusOf([&] { RestoreParameterRecords(unit, data, size); });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzUnit unit;
    const ParameterSnapshot before = ParametersOf(unit);
    const bool whole = AreWholeParameterRecords(data, size);
    const OSStatus status = Restore(unit, data, size);

    Require(whole == (status != kAudioUnitErr_InvalidPropertyValue));
    if (status == kAudioUnitErr_InvalidPropertyValue || status == kAudioUnitErr_InvalidScope)
        Require(ParametersOf(unit) == before);
    else
        Require(status == noErr || status == kAudioUnitErr_InvalidParameter);

    Owned<CFMutableDataRef> saved(CFDataCreateMutable(kCFAllocatorDefault, 0));
    for (AudioUnitScope scope = 0; scope < 3; ++scope)
        unit.GetScope(scope).SaveState(saved.get());
    FuzzUnit restored;
    Require(Restore(restored, CFDataGetBytePtr(saved.get()),
                    size_t(CFDataGetLength(saved.get()))) == noErr);
    Require(ParametersOf(restored) == ParametersOf(unit));
    return 0;
}
