#include "wrappers/audio_unit/AUEntry.h"

#include "hosts/audio_unit/AUPlugInDispatch.h"
#include "hosts/audio_unit/ComponentEntryPoint.h"
#include "wrappers/audio_unit/VeridaneAUWrapper.h"

namespace veridane::au
{

AudioComponentPlugInInterface* factory(const AudioComponentDescription* description) noexcept
{
    return AUPlugInFactory<VeridaneAUWrapper>::Factory(description);
}

OSStatus entry(ComponentParameters* params, void* storage) noexcept
{
    return ComponentEntryPoint<VeridaneAUWrapper>::Dispatch(params, storage);
}

} // namespace veridane::au
