// Converts a parameter's real values to the host's normalized range 0 to 1 and back.
#pragma once

class AAX_ITaperDelegateBase
{
public:
    virtual ~AAX_ITaperDelegateBase() = default;
};

/** Immutable after construction, so any thread may use it. */
template <typename T> class AAX_ITaperDelegate : public AAX_ITaperDelegateBase
{
public:
    /** A new copy, owned by the caller. */
    virtual AAX_ITaperDelegate* Clone() const = 0;
    virtual T GetMaximumValue() const = 0;
    virtual T GetMinimumValue() const = 0;
    virtual T ConstrainRealValue(T value) const = 0;
    virtual T NormalizedToReal(double normalizedValue) const = 0;
    virtual double RealToNormalized(T realValue) const = 0;
};
