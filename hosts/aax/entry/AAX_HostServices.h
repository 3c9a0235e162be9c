// The one process-wide proxy to the host's services, and tracing through it.
#pragma once

#include "hosts/aax/component/ACF.h"

/** Installs a proxy on the first non-null object and removes it on null; any other call changes
    nothing. Not to run alongside itself or AAX_Trace. */
void AAX_SetHostServices(IACFUnknown* hostObject);

/** Formats with printf rules, cut to 511 characters, and hands the text to the host's Trace
    with the priority. Without host services nothing is formatted. */
void AAX_Trace(int32_t priority, const char* format, ...) __attribute__((format(printf, 2, 3)));
