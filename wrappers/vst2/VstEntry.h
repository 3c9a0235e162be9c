#pragma once

#include "hosts/vst2/VstAbi.h"

namespace veridane::vst2
{

/** Creates one plug-in instance for the host and answers its effect record, which the host
    closes with effClose. Answers null, and leaves nothing behind, when the processor cannot be
    created. Never throws. */
AEffect* createEffect(audioMasterCallback hostCallback) noexcept;

} // namespace veridane::vst2
