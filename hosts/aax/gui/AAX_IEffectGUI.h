// The effect-GUI interface as a component object: the host's interface first, so the object's
// address is the pointer the host holds, then the reference counting.
#pragma once

#include "hosts/aax/component/ACFComponent.h"
#include "hosts/aax/gui/AAX_IACFEffectGUI.h"

class AAX_IEffectGUI : public ACFComponent<AAX_IACFEffectGUI>
{
};
