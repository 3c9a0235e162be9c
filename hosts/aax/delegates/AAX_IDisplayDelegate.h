// Converts a parameter's real values to text and back.
#pragma once

#include "hosts/aax/text/AAX_CString.h"

#include <cstdint>

class AAX_IDisplayDelegateBase
{
public:
    virtual ~AAX_IDisplayDelegateBase() = default;
};

/** Immutable after construction, so any thread may use it. Conversions answer false, and
    write nothing, for a null output. */
template <typename T> class AAX_IDisplayDelegate : public AAX_IDisplayDelegateBase
{
public:
    /** A new copy, owned by the caller. */
    virtual AAX_IDisplayDelegate* Clone() const = 0;
    virtual bool ValueToString(T value, AAX_CString* text) const = 0;
    virtual bool ValueToString(T value, int32_t maxNumChars, AAX_CString* text) const = 0;
    virtual bool StringToValue(const AAX_CString& text, T* value) const = 0;
};
