// Normalized values spread evenly between a minimum and a maximum.
#pragma once

#include "hosts/aax/delegates/AAX_ITaperDelegate.h"

#include <cstdint>

/** RealPrecision takes 0 only: real values are not rounded. */
template <typename T, int32_t RealPrecision = 0>
class AAX_CLinearTaperDelegate : public AAX_ITaperDelegate<T>
{
    static_assert(RealPrecision == 0, "only unrounded linear tapers are built");

public:
    /** The ends must differ. */
    AAX_CLinearTaperDelegate(T minValue, T maxValue) : mMinValue(minValue), mMaxValue(maxValue) {}

    AAX_ITaperDelegate<T>* Clone() const override { return new AAX_CLinearTaperDelegate(*this); }
    T GetMaximumValue() const override { return mMaxValue; }
    T GetMinimumValue() const override { return mMinValue; }

    /** A NaN comes back unchanged. */
    T ConstrainRealValue(T value) const override
    {
        if (value > mMaxValue)
            return mMaxValue;
        if (value < mMinValue)
            return mMinValue;
        return value;
    }

    /** Computed in double from the two ends, rounded to T, then constrained. */
    T NormalizedToReal(double normalizedValue) const override
    {
        const double minimum = static_cast<double>(mMinValue);
        const double real = (static_cast<double>(mMaxValue) - minimum) * normalizedValue + minimum;
        return this->ConstrainRealValue(static_cast<T>(real));
    }

    double RealToNormalized(T realValue) const override
    {
        const double constrained = static_cast<double>(this->ConstrainRealValue(realValue));
        const double minimum = static_cast<double>(mMinValue);
        return (constrained - minimum) / (static_cast<double>(mMaxValue) - minimum);
    }

private:
    T mMinValue;
    T mMaxValue;
};
