// A parameter whose real value has type T (float or bool), converted by its own copies of a
// taper and a display delegate.
#pragma once

#include "hosts/aax/parameters/AAX_IParameter.h"

#include <atomic>
#include <cmath>
#include <map>
#include <memory>
#include <type_traits>

/** Calls on one parameter must not overlap, except that the value itself may be read on one
    thread (the packet generator) while the host updates it on another. A NaN is never stored or
    passed on: the normalized setters, the default's and SetValueWithFloat (answering false)
    ignore it; UpdateNormalizedValue, which posts its value as received, ignores infinity too. */
template <typename T> class AAX_CParameter : public AAX_IParameter
{
    static_assert(std::is_same_v<T, float> || std::is_same_v<T, bool>,
                  "parameters are built for float and bool values");

public:
    /** Keeps copies of both delegates; the identifier is cut to 31 characters. The value
        starts at the default passed through the taper. */
    AAX_CParameter(AAX_CParamID identifier, const AAX_CString& name, T defaultValue,
                   const AAX_ITaperDelegate<T>& taperDelegate,
                   const AAX_IDisplayDelegate<T>& displayDelegate, bool automatable);
    /** Unregisters from the automation delegate, if one is attached. */
    ~AAX_CParameter() override;

    AAX_CParameter(const AAX_CParameter&) = delete;
    AAX_CParameter& operator=(const AAX_CParameter&) = delete;

    AAX_CParamID Identifier() const override { return mIdentifier; }
    void SetName(const AAX_CString& name) override { mName = name; }
    const AAX_CString& Name() const override { return mName; }
    void AddShortenedName(const AAX_CString& name) override;
    const AAX_CString& ShortenedName(int32_t maxNumChars) const override;
    void ClearShortenedNames() override { mShortenedNames.clear(); }
    bool Automatable() const override { return mAutomatable; }
    void SetAutomationDelegate(AAX_IAutomationDelegate* automationDelegate) override;
    void Touch() override;
    void Release() override;

    void SetNormalizedValue(double normalizedValue) override;
    double GetNormalizedValue() const override;
    void SetNormalizedDefaultValue(double normalizedDefault) override;
    double GetNormalizedDefaultValue() const override;
    void SetToDefaultValue() override;
    void SetNumberOfSteps(uint32_t numSteps) override { mNumSteps = numSteps; }
    uint32_t GetNumberOfSteps() const override { return mNumSteps; }
    uint32_t GetStepValue() const override;
    void SetStepValue(uint32_t step) override;

    bool GetValueString(AAX_CString* valueString) const override;
    bool GetValueString(int32_t maxNumChars, AAX_CString* valueString) const override;
    bool GetNormalizedValueFromString(const AAX_CString& valueString,
                                      double* normalizedValue) const override;
    bool GetStringFromNormalizedValue(double normalizedValue,
                                      AAX_CString& valueString) const override;
    bool GetStringFromNormalizedValue(double normalizedValue, int32_t maxNumChars,
                                      AAX_CString& valueString) const override;
    bool SetValueFromString(const AAX_CString& valueString) override;

    bool GetValueAsBool(bool* value) const override { return getTyped(value); }
    bool GetValueAsInt32(int32_t* value) const override { return getTyped(value); }
    bool GetValueAsFloat(float* value) const override { return getTyped(value); }
    bool GetValueAsDouble(double* value) const override { return getTyped(value); }
    bool GetValueAsString(AAX_IString*) const override { return false; }
    bool SetValueWithBool(bool value) override { return setTyped(value); }
    bool SetValueWithInt32(int32_t value) override { return setTyped(value); }
    bool SetValueWithFloat(float value) override { return setTyped(value); }
    bool SetValueWithDouble(double value) override { return setTyped(value); }
    bool SetValueWithString(const AAX_IString&) override { return false; }

    void SetType(int32_t type) override { mType = type; }
    int32_t GetType() const override { return mType; }
    void SetOrientation(int32_t orientation) override { mOrientation = orientation; }
    int32_t GetOrientation() const override { return mOrientation; }
    void SetTaperDelegate(const AAX_ITaperDelegateBase& taperDelegate, bool preserveValue) override;
    void SetDisplayDelegate(const AAX_IDisplayDelegateBase& displayDelegate) override;

    void UpdateNormalizedValue(double normalizedValue) override;

private:
    static constexpr std::size_t kIdentifierSize = 32;

    /** Through the host when a delegate is attached; otherwise stored at once. */
    void requestNormalizedValue(double normalizedValue);

    template <typename U> bool getTyped(U* value) const
    {
        if constexpr (std::is_same_v<U, T>)
        {
            if (value == nullptr)
                return false;
            *value = mValue.load(std::memory_order_relaxed);
            return true;
        }
        return false;
    }

    template <typename U> bool setTyped(U value)
    {
        if constexpr (std::is_same_v<U, T>)
        {
            if constexpr (std::is_floating_point_v<U>)
                if (std::isnan(value)) // the taper would pass it on
                    return false;
            requestNormalizedValue(mTaperDelegate->RealToNormalized(value));
            return true;
        }
        return false;
    }

    char mIdentifier[kIdentifierSize] = {};
    AAX_CString mName;
    std::map<uint32_t, AAX_CString> mShortenedNames;
    bool mAutomatable;
    uint32_t mNumSteps = 0;
    int32_t mType = 1;
    int32_t mOrientation = 0;
    std::unique_ptr<AAX_ITaperDelegate<T>> mTaperDelegate;
    std::unique_ptr<AAX_IDisplayDelegate<T>> mDisplayDelegate;
    AAX_IAutomationDelegate* mAutomationDelegate = nullptr;
    std::atomic<bool> mNeedsNotify{true};
    // Written by the host's update and read by the packet generator on another thread.
    std::atomic<T> mValue{};
    T mDefaultValue;
};

extern template class AAX_CParameter<float>;
extern template class AAX_CParameter<bool>;
