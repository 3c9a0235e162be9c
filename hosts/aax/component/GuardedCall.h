// Keeps every exception on the library's side of a call from the host.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"

/** The routine's answer, or 0x8000FFFF when anything escapes it. */
template <typename Routine> AAX_Result guardedCall(Routine&& routine) noexcept
{
    try
    {
        return routine();
    }
    catch (...)
    {
        return kACFUnexpected;
    }
}
