// Real values as decimal text with a fixed number of digits after the full stop.
#pragma once

#include "hosts/aax/delegates/AAX_IDisplayDelegate.h"
#include "hosts/aax/delegates/NumberTextShortening.h"

/** The third argument takes 0 only. */
template <typename T, uint32_t Precision = 2, uint32_t Spacing = 0>
class AAX_CNumberDisplayDelegate : public AAX_IDisplayDelegate<T>
{
    static_assert(Spacing == 0, "only number texts without spacing are built");

public:
    AAX_IDisplayDelegate<T>* Clone() const override
    {
        return new AAX_CNumberDisplayDelegate(*this);
    }

    bool ValueToString(T value, AAX_CString* text) const override
    {
        if (text == nullptr)
            return false;
        text->Clear();
        text->AppendNumber(static_cast<double>(value), static_cast<int32_t>(Precision));
        return true;
    }

    /** Cut to the limit; a full stop left at the end of a cut goes too. */
    bool ValueToString(T value, int32_t maxNumChars, AAX_CString* text) const override
    {
        if (!ValueToString(value, text))
            return false;
        shortenNumberText(*text, maxNumChars);
        return true;
    }

    /** Reads the leading number; without one the value is 0. */
    bool StringToValue(const AAX_CString& text, T* value) const override
    {
        if (value == nullptr)
            return false;
        double parsed = 0.0;
        const bool read = text.ToDouble(&parsed);
        *value = read ? static_cast<T>(parsed) : T(0);
        return read;
    }
};
