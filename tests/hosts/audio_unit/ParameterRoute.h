#pragma once

#include "tests/hosts/audio_unit/HostedUnit.h"

#include <string>

/** How the host sets a parameter: the road's set-parameter call, the fast function of a
    Component Manager instance, or an immediate event through schedule-parameters. */
enum class ParameterRoute
{
    selector,
    fast,
    schedule,
};

ParameterRoute parseParameterRoute(const std::string& name);

/** Sets a global parameter; answers what the unit answered. */
OSStatus setGlobalParameter(HostedUnit& unit, ParameterRoute route, AudioUnitParameterID id,
                            Float32 value);
