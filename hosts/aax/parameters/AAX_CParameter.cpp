#include "hosts/aax/parameters/AAX_CParameter.h"

#include <cmath>
#include <cstring>

template <typename T>
AAX_CParameter<T>::AAX_CParameter(AAX_CParamID identifier, const AAX_CString& name, T defaultValue,
                                  const AAX_ITaperDelegate<T>& taperDelegate,
                                  const AAX_IDisplayDelegate<T>& displayDelegate, bool automatable)
    : mName(name), mAutomatable(automatable), mTaperDelegate(taperDelegate.Clone()),
      mDisplayDelegate(displayDelegate.Clone()), mDefaultValue(defaultValue)
{
    if (identifier != nullptr)
        std::strncpy(mIdentifier, identifier, kIdentifierSize - 1);
    mNumSteps = 128;
    // Not through the table: a derived class is not built yet. With no delegate attached this
    // stores the default through the taper and clears the notify flag.
    AAX_CParameter::SetToDefaultValue();
}

template <typename T> AAX_CParameter<T>::~AAX_CParameter()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->UnregisterParameter(mIdentifier);
    mAutomationDelegate = nullptr;
}

template <typename T> void AAX_CParameter<T>::AddShortenedName(const AAX_CString& name)
{
    mShortenedNames[name.Length()] = name;
}

template <typename T> const AAX_CString& AAX_CParameter<T>::ShortenedName(int32_t maxNumChars) const
{
    if (static_cast<int64_t>(mName.Length()) <= maxNumChars || mShortenedNames.empty() ||
        maxNumChars < 0)
        return mName;
    auto fitting = mShortenedNames.upper_bound(static_cast<uint32_t>(maxNumChars));
    if (fitting == mShortenedNames.begin())
        return fitting->second; // every name is longer: the shortest
    return std::prev(fitting)->second;
}

template <typename T>
void AAX_CParameter<T>::SetAutomationDelegate(AAX_IAutomationDelegate* automationDelegate)
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->UnregisterParameter(mIdentifier);
    mAutomationDelegate = automationDelegate;
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->RegisterParameter(mIdentifier);
}

template <typename T> void AAX_CParameter<T>::Touch()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostTouchRequest(mIdentifier);
}

template <typename T> void AAX_CParameter<T>::Release()
{
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostReleaseRequest(mIdentifier);
}

template <typename T> void AAX_CParameter<T>::SetNormalizedValue(double normalizedValue)
{
    // NaN passes through the taper unclamped (or turns a bool off); anything else reaches the
    // host after a round trip through the taper: clamped, and for a bool exactly 0 or 1.
    if (std::isnan(normalizedValue))
        return;
    const T real = mTaperDelegate->NormalizedToReal(normalizedValue);
    requestNormalizedValue(mTaperDelegate->RealToNormalized(real));
}

template <typename T> double AAX_CParameter<T>::GetNormalizedValue() const
{
    return mTaperDelegate->RealToNormalized(mValue.load(std::memory_order_relaxed));
}

template <typename T> void AAX_CParameter<T>::SetNormalizedDefaultValue(double normalizedDefault)
{
    // A NaN default would be requested by every later SetToDefaultValue.
    if (std::isnan(normalizedDefault))
        return;
    mDefaultValue =
        mTaperDelegate->ConstrainRealValue(mTaperDelegate->NormalizedToReal(normalizedDefault));
}

template <typename T> double AAX_CParameter<T>::GetNormalizedDefaultValue() const
{
    return mTaperDelegate->RealToNormalized(mDefaultValue);
}

template <typename T> void AAX_CParameter<T>::SetToDefaultValue()
{
    requestNormalizedValue(mTaperDelegate->RealToNormalized(mDefaultValue));
}

template <typename T> uint32_t AAX_CParameter<T>::GetStepValue() const
{
    const uint32_t steps = this->GetNumberOfSteps();
    if (steps < 2)
        return 0;
    const double stepSize = 1.0 / (static_cast<double>(steps) - 1.0);
    const double position = this->GetNormalizedValue() / stepSize + 0.5;
    const double last = static_cast<double>(steps - 1);
    if (!(position > 0.0)) // a NaN position too
        return 0;
    return position > last ? steps - 1 : static_cast<uint32_t>(position);
}

template <typename T> void AAX_CParameter<T>::SetStepValue(uint32_t step)
{
    const uint32_t steps = this->GetNumberOfSteps();
    if (steps < 2)
        return;
    const double stepSize = 1.0 / (static_cast<double>(steps) - 1.0);
    double normalizedValue = static_cast<double>(step) * stepSize;
    if (normalizedValue > 1.0)
        normalizedValue = 1.0;
    if (normalizedValue < 0.0)
        normalizedValue = 0.0;
    this->SetNormalizedValue(normalizedValue);
}

template <typename T> bool AAX_CParameter<T>::GetValueString(AAX_CString* valueString) const
{
    return mDisplayDelegate->ValueToString(mValue.load(std::memory_order_relaxed), valueString);
}

template <typename T>
bool AAX_CParameter<T>::GetValueString(int32_t /*maxNumChars*/, AAX_CString* valueString) const
{
    return GetValueString(valueString);
}

template <typename T>
bool AAX_CParameter<T>::GetNormalizedValueFromString(const AAX_CString& valueString,
                                                     double* normalizedValue) const
{
    T real{};
    if (normalizedValue == nullptr || !mDisplayDelegate->StringToValue(valueString, &real))
        return false;
    *normalizedValue = mTaperDelegate->RealToNormalized(real);
    return !(real > mTaperDelegate->GetMaximumValue() || real < mTaperDelegate->GetMinimumValue());
}

template <typename T>
bool AAX_CParameter<T>::GetStringFromNormalizedValue(double normalizedValue,
                                                     AAX_CString& valueString) const
{
    const T real = mTaperDelegate->NormalizedToReal(normalizedValue);
    if (!mDisplayDelegate->ValueToString(real, &valueString))
        return false;
    return !(real > mTaperDelegate->GetMaximumValue() || real < mTaperDelegate->GetMinimumValue());
}

template <typename T>
bool AAX_CParameter<T>::GetStringFromNormalizedValue(double normalizedValue, int32_t maxNumChars,
                                                     AAX_CString& valueString) const
{
    const T real = mTaperDelegate->NormalizedToReal(normalizedValue);
    if (!mDisplayDelegate->ValueToString(real, maxNumChars, &valueString))
        return false;
    return !(real > mTaperDelegate->GetMaximumValue() || real < mTaperDelegate->GetMinimumValue());
}

template <typename T> bool AAX_CParameter<T>::SetValueFromString(const AAX_CString& valueString)
{
    T real{};
    if (!mDisplayDelegate->StringToValue(valueString, &real))
        return false;
    requestNormalizedValue(mTaperDelegate->RealToNormalized(real));
    return true;
}

template <typename T>
void AAX_CParameter<T>::SetTaperDelegate(const AAX_ITaperDelegateBase& taperDelegate,
                                         bool preserveValue)
{
    const auto* const typed = dynamic_cast<const AAX_ITaperDelegate<T>*>(&taperDelegate);
    if (typed == nullptr)
        return;
    const double position = this->GetNormalizedValue();
    mTaperDelegate.reset(typed->Clone());
    mNeedsNotify.store(true, std::memory_order_relaxed);
    if (preserveValue)
        requestNormalizedValue(
            mTaperDelegate->RealToNormalized(mValue.load(std::memory_order_relaxed)));
    else
        this->UpdateNormalizedValue(position);
}

template <typename T>
void AAX_CParameter<T>::SetDisplayDelegate(const AAX_IDisplayDelegateBase& displayDelegate)
{
    const auto* const typed = dynamic_cast<const AAX_IDisplayDelegate<T>*>(&displayDelegate);
    if (typed == nullptr)
        return;
    mDisplayDelegate.reset(typed->Clone());
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostCurrentValue(mIdentifier, this->GetNormalizedValue());
}

template <typename T> void AAX_CParameter<T>::UpdateNormalizedValue(double normalizedValue)
{
    // The host is told the value as received, so infinity would reach it unclamped, and a NaN
    // would be stored as the value.
    if (!std::isfinite(normalizedValue))
        return;
    const T real = mTaperDelegate->NormalizedToReal(normalizedValue);
    if (!mNeedsNotify.load(std::memory_order_relaxed) &&
        mValue.load(std::memory_order_relaxed) == real)
        return;
    mValue.store(real, std::memory_order_relaxed);
    if (mAutomationDelegate != nullptr)
        mAutomationDelegate->PostCurrentValue(mIdentifier, normalizedValue);
    mNeedsNotify.store(false, std::memory_order_relaxed);
}

template <typename T> void AAX_CParameter<T>::requestNormalizedValue(double normalizedValue)
{
    if (mAutomationDelegate != nullptr)
    {
        this->Touch();
        mAutomationDelegate->PostSetValueRequest(mIdentifier, normalizedValue);
        this->Release();
        return;
    }
    mNeedsNotify.store(true, std::memory_order_relaxed);
    this->UpdateNormalizedValue(normalizedValue);
}

template class AAX_CParameter<float>;
template class AAX_CParameter<bool>;
