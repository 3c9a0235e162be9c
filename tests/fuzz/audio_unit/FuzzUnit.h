// The unit the Audio Unit fuzz targets restore into: two inputs and one output, a global
// parameter by id and four indexed slots on the output, and a snapshot of every parameter.
#pragma once

#include "tests/audio_unit/TestUnit.h"

#include <bit>
#include <map>
#include <tuple>

namespace autest
{

struct FuzzUnit : TestUnit
{
    explicit FuzzUnit(AudioComponentInstance instance = nullptr) : TestUnit(2, 1, 2, instance)
    {
        Outputs().GetElement(0)->UseIndexedParameters(4);
        Globals().GetElement(0)->SetParameter(1, 0.5f);
    }
};

using ParameterSnapshot =
    std::map<std::tuple<AudioUnitScope, UInt32, AudioUnitParameterID>, UInt32>;

inline ParameterSnapshot ParametersOf(FuzzUnit& unit)
{
    ParameterSnapshot values;
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

/** A broken invariant ends the run where the fuzzer sees it. */
inline void Require(bool holds)
{
    if (!holds)
        __builtin_trap();
}

} // namespace autest
