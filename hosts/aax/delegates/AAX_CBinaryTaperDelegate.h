// Two real values, false and true, at the two ends of the normalized range.
#pragma once

#include "hosts/aax/delegates/AAX_ITaperDelegate.h"

template <typename T> class AAX_CBinaryTaperDelegate : public AAX_ITaperDelegate<T>
{
public:
    AAX_ITaperDelegate<T>* Clone() const override { return new AAX_CBinaryTaperDelegate(*this); }
    T GetMaximumValue() const override { return true; }
    T GetMinimumValue() const override { return false; }
    T ConstrainRealValue(T value) const override { return value; }
    /** Any value above 0 is true; a NaN is false. */
    T NormalizedToReal(double normalizedValue) const override { return normalizedValue > 0.0; }
    double RealToNormalized(T realValue) const override { return realValue ? 1.0 : 0.0; }
};
