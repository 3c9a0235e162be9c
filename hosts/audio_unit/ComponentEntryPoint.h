// The Component Manager road into a unit class: one entry that takes every call as a selector
// and a parameter block. Open builds the unit and stores it (its AUBase address) as the
// instance's storage, which the Component Manager hands back with every later call; the rest goes
// down the unit's dispatch chain. Nothing thrown leaves the entry.
#pragma once

#include "hosts/audio_unit/AUEntryCatch.h"
#include "hosts/audio_unit/AUMIDIEffectBase.h"
#include "hosts/audio_unit/ComponentParameterWords.h"

#include <memory>
#include <type_traits>

template <class Unit> class ComponentEntryPoint
{
    static_assert(std::is_base_of_v<AUMIDIEffectBase, Unit>);

public:
    static OSStatus Dispatch(ComponentParameters* params, void* storage)
    {
        if (params == nullptr)
            return kAudio_ParamError;
        return AUEntryCatch(
            [&]
            {
                if (params->what == kComponentOpenSelect)
                    return Open(*params);
                auto* unit = storage != nullptr
                                 ? &static_cast<AUMIDIEffectBase&>(*static_cast<AUBase*>(storage))
                                 : nullptr;
                return AUMIDIEffectBase::ComponentEntryDispatch(params, unit);
            });
    }

private:
    /** A unit whose PostConstructor fails is destroyed again. Without a Component Manager to
        keep the storage nobody could reach or close the unit, so it is not kept either. */
    static OSStatus Open(const ComponentParameters& params)
    {
        const ComponentInitLocker lock;
        ComponentBase::sNewInstanceType = ComponentBase::kComponentMgrInstance;
        const auto instance = ParameterPointer<ComponentInstance>(params, 0);
        auto unit = std::make_unique<Unit>(instance);
        unit->PostConstructor();
        AUBase* storage = unit.get();
        ComponentBase::CMgr_SetComponentInstanceStorage(instance, storage);
        if (ComponentBase::CMgr_GetComponentInstanceStorage(instance) != storage)
        {
            unit->PreDestructor();
            return badComponentInstance;
        }
        unit.release();
        return noErr;
    }
};
