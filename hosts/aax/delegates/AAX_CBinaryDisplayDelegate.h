// Two texts, one for false and one for true.
#pragma once

#include "hosts/aax/delegates/AAX_IDisplayDelegate.h"

template <typename T> class AAX_CBinaryDisplayDelegate : public AAX_IDisplayDelegate<T>
{
public:
    /** A null text reads as "". */
    AAX_CBinaryDisplayDelegate(const char* falseText, const char* trueText)
        : mFalseText(falseText), mTrueText(trueText)
    {
    }

    AAX_IDisplayDelegate<T>* Clone() const override
    {
        return new AAX_CBinaryDisplayDelegate(*this);
    }

    bool ValueToString(T value, AAX_CString* text) const override
    {
        if (text == nullptr)
            return false;
        *text = value ? mTrueText : mFalseText;
        return true;
    }

    /** The texts are not cut: the limit is ignored. */
    bool ValueToString(T value, int32_t /*maxNumChars*/, AAX_CString* text) const override
    {
        return this->ValueToString(value, text);
    }

    /** Exact, case-sensitive; anything else is false and not read. */
    bool StringToValue(const AAX_CString& text, T* value) const override
    {
        if (value == nullptr)
            return false;
        if (text == mTrueText)
        {
            *value = true;
            return true;
        }
        *value = false;
        return text == mFalseText;
    }

private:
    AAX_CString mFalseText;
    AAX_CString mTrueText;
};
