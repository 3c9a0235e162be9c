// One host-visible parameter: the effect's answers to every parameter query of the host, and the
// plug-in side's way to ask the host for a change. The operations and their order are fixed.
#pragma once

#include "hosts/aax/delegates/AAX_IDisplayDelegate.h"
#include "hosts/aax/delegates/AAX_ITaperDelegate.h"
#include "hosts/aax/proxies/AAX_IAutomationDelegate.h"
#include "hosts/aax/text/AAX_CString.h"

#include <cstdint>

class AAX_IParameter
{
public:
    virtual ~AAX_IParameter() = default;

    virtual AAX_CParamID Identifier() const = 0;
    virtual void SetName(const AAX_CString& name) = 0;
    virtual const AAX_CString& Name() const = 0;
    /** Kept under its own length; replaces a name of the same length. */
    virtual void AddShortenedName(const AAX_CString& name) = 0;
    /** The longest name that fits the limit, else the shortest one. */
    virtual const AAX_CString& ShortenedName(int32_t maxNumChars) const = 0;
    virtual void ClearShortenedNames() = 0;
    virtual bool Automatable() const = 0;
    /** Unregisters from the delegate held so far and registers with the new one (may be
        null). */
    virtual void SetAutomationDelegate(AAX_IAutomationDelegate* automationDelegate) = 0;
    virtual void Touch() = 0;
    virtual void Release() = 0;

    /** Asks for the value: through the host when a delegate is attached, else at once. */
    virtual void SetNormalizedValue(double normalizedValue) = 0;
    virtual double GetNormalizedValue() const = 0;
    virtual void SetNormalizedDefaultValue(double normalizedDefault) = 0;
    virtual double GetNormalizedDefaultValue() const = 0;
    virtual void SetToDefaultValue() = 0;
    virtual void SetNumberOfSteps(uint32_t numSteps) = 0;
    virtual uint32_t GetNumberOfSteps() const = 0;
    virtual uint32_t GetStepValue() const = 0;
    virtual void SetStepValue(uint32_t step) = 0;

    virtual bool GetValueString(AAX_CString* valueString) const = 0;
    /** The limit is not applied. */
    virtual bool GetValueString(int32_t maxNumChars, AAX_CString* valueString) const = 0;
    /** Writes the normalized value even for a text beyond the range, and then answers false. */
    virtual bool GetNormalizedValueFromString(const AAX_CString& valueString,
                                              double* normalizedValue) const = 0;
    virtual bool GetStringFromNormalizedValue(double normalizedValue,
                                              AAX_CString& valueString) const = 0;
    virtual bool GetStringFromNormalizedValue(double normalizedValue, int32_t maxNumChars,
                                              AAX_CString& valueString) const = 0;
    virtual bool SetValueFromString(const AAX_CString& valueString) = 0;

    // Typed access: only the pair of the parameter's own type works; the others answer false
    // and touch nothing.
    virtual bool GetValueAsBool(bool* value) const = 0;
    virtual bool GetValueAsInt32(int32_t* value) const = 0;
    virtual bool GetValueAsFloat(float* value) const = 0;
    virtual bool GetValueAsDouble(double* value) const = 0;
    virtual bool GetValueAsString(AAX_IString* value) const = 0;
    virtual bool SetValueWithBool(bool value) = 0;
    virtual bool SetValueWithInt32(int32_t value) = 0;
    virtual bool SetValueWithFloat(float value) = 0;
    virtual bool SetValueWithDouble(double value) = 0;
    virtual bool SetValueWithString(const AAX_IString& value) = 0;

    virtual void SetType(int32_t type) = 0;
    virtual int32_t GetType() const = 0;
    virtual void SetOrientation(int32_t orientation) = 0;
    virtual int32_t GetOrientation() const = 0;
    /** A delegate of another value type is ignored. */
    virtual void SetTaperDelegate(const AAX_ITaperDelegateBase& taperDelegate,
                                  bool preserveValue) = 0;
    virtual void SetDisplayDelegate(const AAX_IDisplayDelegateBase& displayDelegate) = 0;

    /** The host's answer to a request: the only way a value is stored while a delegate is
        attached. */
    virtual void UpdateNormalizedValue(double normalizedValue) = 0;
};
