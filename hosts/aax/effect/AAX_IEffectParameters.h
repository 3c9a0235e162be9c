// The effect-parameters interface as a component object: the host's interface first, so the
// object's address is the pointer the host holds, then the reference counting.
#pragma once

#include "hosts/aax/component/ACFComponent.h"
#include "hosts/aax/effect/AAX_IACFEffectParameters.h"

class AAX_IEffectParameters : public ACFComponent<AAX_IACFEffectParameters_V2>
{
};
