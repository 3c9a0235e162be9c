// How a number text is cut to a host's character limit.
#pragma once

#include "hosts/aax/text/AAX_CString.h"

#include <cstdint>

/** Keeps at most `limit` bytes (none for a negative limit); when the cut leaves a full stop at
    the end, that goes too. "0.500" at 2 gives "0". */
void shortenNumberText(AAX_CString& text, int32_t limit);
