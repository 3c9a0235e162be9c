// Feeds arbitrary bytes to the reader of saved parameter records, on a unit whose elements hold
// parameters by id and by index. Whatever the bytes, the reader either takes whole records or
// refuses them before anything changes, and what it took saves back into records it takes again.
#include "hosts/audio_unit/AUSavedParameters.h"

#include "tests/audio_unit/TestUnit.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <map>
#include <tuple>

using namespace autest;

namespace
{
/** Two inputs and one output; the output's element holds four indexed slots. */
struct FuzzUnit : TestUnit
{
    FuzzUnit() : TestUnit(2, 1)
    {
        Outputs().GetElement(0)->UseIndexedParameters(4);
        Globals().GetElement(0)->SetParameter(1, 0.5f);
    }
};

using Snapshot = std::map<std::tuple<AudioUnitScope, UInt32, AudioUnitParameterID>, UInt32>;

Snapshot ParametersOf(FuzzUnit& unit)
{
    Snapshot values;
    for (AudioUnitScope scope = 0; scope < 3; ++scope)
    {
        AUScope& elements = unit.GetScope(scope);
        for (UInt32 e = 0; e < elements.GetNumberOfElements(); ++e)
        {
            AUElement& element = *elements.GetElement(e);
            std::vector<AudioUnitParameterID> ids(element.GetNumberOfParameters());
            element.GetParameterList(ids.data());
            for (const auto id : ids)
                values[{scope, e, id}] = std::bit_cast<UInt32>(element.GetParameter(id));
        }
    }
    return values;
}

OSStatus Restore(FuzzUnit& unit, const UInt8* data, size_t size)
{
    try
    {
        RestoreParameterRecords(unit, data, size);
        return noErr;
    }
    catch (OSStatus status)
    {
        return status;
    }
}

void Require(bool holds)
{
    if (!holds)
        __builtin_trap();
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzUnit unit;
    const Snapshot before = ParametersOf(unit);
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
