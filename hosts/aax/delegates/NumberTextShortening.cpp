#include "hosts/aax/delegates/NumberTextShortening.h"

void shortenNumberText(AAX_CString& text, int32_t limit)
{
    const uint32_t kept = limit < 0 ? 0u : static_cast<uint32_t>(limit);
    if (text.Length() > kept)
        text.Erase(kept, text.Length() - kept);
    if (kept != 0 && text.Length() == kept && text[kept - 1] == '.')
        text.Erase(kept - 1, 1);
}
