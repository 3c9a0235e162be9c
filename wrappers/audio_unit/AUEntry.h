#pragma once

#include "platform/AudioUnitTypes.h"

namespace veridane::au
{

/** The AudioComponent factory: a plug-in block whose Open builds the instance, or null when
    memory runs out. Never throws. */
AudioComponentPlugInInterface* factory(const AudioComponentDescription* description) noexcept;

/** The Component Manager entry: every call, open included, as a selector and a parameter block.
    Never throws. */
OSStatus entry(ComponentParameters* params, void* storage) noexcept;

} // namespace veridane::au
