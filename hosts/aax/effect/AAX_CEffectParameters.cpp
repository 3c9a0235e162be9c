#include "hosts/aax/effect/AAX_CEffectParameters.h"

#include "hosts/aax/component/GuardedCall.h"
#include "hosts/aax/proxies/AAX_VAutomationDelegate.h"
#include "hosts/aax/proxies/AAX_VController.h"
#include "hosts/aax/proxies/AAX_VTransport.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

namespace
{
// Text the host's name queries look at: at most this many characters of a shortened name.
constexpr std::size_t kNameWorkBufferLength = 255;

double limitToUnitRange(double value)
{
    if (value > 1.0)
        value = 1.0;
    if (value < 0.0)
        value = 0.0;
    return value;
}

/** The parameter's answer into the output: -20004 for a null output, -20001 for an identifier
    the manager does not hold. */
template <typename Out, typename Read>
AAX_Result readParameter(const AAX_CParameterManager& parameters, AAX_CParamID identifier, Out* out,
                         Read read)
{
    if (out == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const auto* const parameter = parameters.GetParameterByID(identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    *out = read(*parameter);
    return AAX_SUCCESS;
}

/** Hands the parameter a value from the host: -20001 for an identifier the manager does not
    hold, -20002 for a value that is not finite. */
template <typename Change>
AAX_Result changeParameter(AAX_CParameterManager& parameters, AAX_CParamID identifier, double value,
                           Change change)
{
    auto* const parameter = parameters.GetParameterByID(identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    if (!std::isfinite(value))
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    change(*parameter, value);
    return AAX_SUCCESS;
}
} // namespace

AAX_CEffectParameters::AAX_CEffectParameters() = default;

AAX_CEffectParameters::~AAX_CEffectParameters()
{
    ReleaseHostObjects();
}

AAX_Result AAX_CEffectParameters::Initialize(IACFUnknown* controller)
{
    return guardedCall(
        [&]() -> AAX_Result
        {
            // Uninitialised first, so that a second call leaks no host reference.
            if (mController != nullptr)
                ReleaseHostObjects();
            mController = std::make_unique<AAX_VController>(controller);
            mAutomationDelegate = std::make_unique<AAX_VAutomationDelegate>(controller);
            mTransport = std::make_unique<AAX_VTransport>(controller);
            mParameterManager.Initialize(mAutomationDelegate.get());
            mPacketDispatcher.Initialize(mController.get(), this);

            const AAX_Result initialized = EffectInit();
            if (initialized != AAX_SUCCESS)
                return initialized;
            // Without a master bypass the empty identifier is filtered, which matches nothing.
            AAX_CString bypass;
            GetMasterBypassParameter(&bypass);
            FilterParameterIDOnSave(bypass.Get());
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::Uninitialize()
{
    ReleaseHostObjects();
    return AAX_SUCCESS;
}

void AAX_CEffectParameters::ReleaseHostObjects()
{
    // The parameters unregister through the automation delegate, so they go first; nothing
    // keeps a pointer to a host object once it is deleted.
    mParameterManager.RemoveAllParameters();
    mParameterManager.Initialize(nullptr);
    mPacketDispatcher.Initialize(nullptr, this);
    mController.reset();
    mAutomationDelegate.reset();
    mTransport.reset();
}

AAX_Result AAX_CEffectParameters::NotificationReceived(AAX_CTypeID type, const void* data,
                                                       uint32_t size)
{
    if (type != kAAX_PreviewNotification)
        return AAX_SUCCESS;
    int32_t previewOn = 0;
    if (data == nullptr || size < sizeof previewOn)
        return AAX_ERROR_NULL_OBJECT;
    std::memcpy(&previewOn, data, sizeof previewOn);
    if (auto* const preview = mParameterManager.GetParameterByID(kAAX_PreviewID))
        preview->SetValueWithBool(previewOn != 0);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfParameters(int32_t* count) const
{
    if (count == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *count = mParameterManager.NumParameters();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetMasterBypassParameter(AAX_IString* identifier) const
{
    if (identifier == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const bool held = mParameterManager.GetParameterByID(kAAX_MasterBypassID) != nullptr;
    identifier->Set(held ? kAAX_MasterBypassID : "");
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterIsAutomatable(AAX_CParamID identifier,
                                                            bool* automatable) const
{
    if (automatable != nullptr)
        *automatable = false;
    return readParameter(mParameterManager, identifier, automatable,
                         [](const AAX_IParameter& parameter) { return parameter.Automatable(); });
}

AAX_Result AAX_CEffectParameters::GetParameterNumberOfSteps(AAX_CParamID identifier,
                                                            int32_t* steps) const
{
    if (steps == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const auto* const parameter = mParameterManager.GetParameterByID(identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    const uint32_t count = parameter->GetNumberOfSteps();
    if (count > static_cast<uint32_t>(std::numeric_limits<int32_t>::max()))
        return AAX_ERROR_SIGNED_INT_OVERFLOW;
    *steps = static_cast<int32_t>(count);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterName(AAX_CParamID identifier, AAX_IString* name) const
{
    if (name == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const auto* const parameter = mParameterManager.GetParameterByID(identifier);
    name->Set(parameter != nullptr ? parameter->Name().Get() : "");
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetParameterNameOfLength(AAX_CParamID identifier,
                                                           AAX_IString* name, int32_t length) const
{
    if (name == nullptr)
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    return guardedCall(
        [&]() -> AAX_Result
        {
            const auto* const parameter = mParameterManager.GetParameterByID(identifier);
            if (parameter == nullptr)
            {
                name->Set("");
                return AAX_SUCCESS;
            }
            const AAX_CString& shortened = parameter->ShortenedName(length);
            const std::string_view text(
                shortened.Get(), std::min<std::size_t>(shortened.Length(), kNameWorkBufferLength));
            // The variants end at each '\n'; the longest that fits wins, the first of equals.
            std::size_t best = 0;
            std::size_t start = 0;
            while (start < text.size())
            {
                const std::size_t newline = text.find('\n', start);
                const std::size_t end = newline == std::string_view::npos ? text.size() : newline;
                const std::size_t variantLength = end - start;
                if (variantLength > best && static_cast<int64_t>(variantLength) <= length)
                {
                    name->Set(std::string(text.substr(start, variantLength)).c_str());
                    best = variantLength;
                }
                start = end + 1;
            }
            if (best == 0)
            {
                if (length >= 1 && !text.empty())
                    shortened.SubString(0, static_cast<uint32_t>(length), name);
                else
                    name->Set("");
            }
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterDefaultNormalizedValue(AAX_CParamID identifier,
                                                                     double* value) const
{
    return readParameter(mParameterManager, identifier, value,
                         [](const AAX_IParameter& parameter)
                         { return parameter.GetNormalizedDefaultValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterDefaultNormalizedValue(AAX_CParamID identifier,
                                                                     double value)
{
    return changeParameter(mParameterManager, identifier, value,
                           [](AAX_IParameter& parameter, double normalized)
                           { parameter.SetNormalizedDefaultValue(normalized); });
}

AAX_Result AAX_CEffectParameters::GetParameterType(AAX_CParamID identifier, int32_t* type) const
{
    return readParameter(mParameterManager, identifier, type,
                         [](const AAX_IParameter& parameter) { return parameter.GetType(); });
}

AAX_Result AAX_CEffectParameters::GetParameterOrientation(AAX_CParamID identifier,
                                                          int32_t* orientation) const
{
    return readParameter(mParameterManager, identifier, orientation,
                         [](const AAX_IParameter& parameter)
                         { return parameter.GetOrientation(); });
}

AAX_Result AAX_CEffectParameters::GetParameter(AAX_CParamID identifier, AAX_IParameter** parameter)
{
    if (parameter == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *parameter = mParameterManager.GetParameterByID(identifier);
    return *parameter != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIndex(AAX_CParamID identifier, int32_t* index) const
{
    if (index == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *index = mParameterManager.GetParameterIndex(identifier);
    return *index >= 0 ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterIDFromIndex(int32_t index,
                                                          AAX_IString* identifier) const
{
    if (identifier == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const auto* const parameter = mParameterManager.GetParameter(index);
    identifier->Set(parameter != nullptr ? parameter->Identifier() : "");
    return parameter != nullptr ? AAX_SUCCESS : AAX_ERROR_INVALID_PARAMETER_ID;
}

AAX_Result AAX_CEffectParameters::GetParameterValueInfo(AAX_CParamID, int32_t, int32_t* value) const
{
    if (value == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *value = 0;
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetParameterValueFromString(AAX_CParamID identifier,
                                                              double* value,
                                                              const AAX_IString* text) const
{
    if (value == nullptr || text == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall(
        [&]() -> AAX_Result
        {
            const auto* const parameter = mParameterManager.GetParameterByID(identifier);
            if (parameter == nullptr)
                return AAX_ERROR_INVALID_PARAMETER_ID;
            double converted = 0.0;
            if (!parameter->GetNormalizedValueFromString(AAX_CString(*text), &converted))
                return AAX_ERROR_INVALID_STRING_CONVERSION;
            *value = converted;
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterStringFromValue(AAX_CParamID identifier, double value,
                                                              AAX_IString* text,
                                                              int32_t maxLength) const
{
    if (text == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall(
        [&]() -> AAX_Result
        {
            const auto* const parameter = mParameterManager.GetParameterByID(identifier);
            if (parameter == nullptr)
                return AAX_ERROR_INVALID_PARAMETER_ID;
            AAX_CString converted;
            if (!parameter->GetStringFromNormalizedValue(value, maxLength, converted))
                return AAX_ERROR_INVALID_STRING_CONVERSION;
            text->Set(converted.Get());
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterValueString(AAX_CParamID identifier,
                                                          AAX_IString* text,
                                                          int32_t maxLength) const
{
    if (text == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall(
        [&]() -> AAX_Result
        {
            const auto* const parameter = mParameterManager.GetParameterByID(identifier);
            if (parameter == nullptr)
                return AAX_ERROR_INVALID_PARAMETER_ID;
            // Copied whether or not the conversion succeeded.
            AAX_CString converted;
            parameter->GetValueString(maxLength, &converted);
            text->Set(converted.Get());
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectParameters::GetParameterNormalizedValue(AAX_CParamID identifier,
                                                              double* value) const
{
    return readParameter(mParameterManager, identifier, value,
                         [](const AAX_IParameter& parameter)
                         { return parameter.GetNormalizedValue(); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedValue(AAX_CParamID identifier, double value)
{
    return changeParameter(mParameterManager, identifier, value,
                           [](AAX_IParameter& parameter, double normalized)
                           { parameter.SetNormalizedValue(normalized); });
}

AAX_Result AAX_CEffectParameters::SetParameterNormalizedRelative(AAX_CParamID identifier,
                                                                 double delta)
{
    double target = 0.0;
    const AAX_Result read = RelativeTarget(identifier, delta, target);
    return read != AAX_SUCCESS ? read : SetParameterNormalizedValue(identifier, target);
}

AAX_Result AAX_CEffectParameters::RelativeTarget(AAX_CParamID identifier, double delta,
                                                 double& target) const
{
    double current = 0.0;
    const AAX_Result read = GetParameterNormalizedValue(identifier, &current);
    if (read != AAX_SUCCESS)
        return read;
    if (!std::isfinite(delta))
        return AAX_ERROR_INVALID_STRING_CONVERSION;
    target = limitToUnitRange(current + delta);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::TouchParameter(AAX_CParamID identifier)
{
    auto* const parameter = mParameterManager.GetParameterByID(identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    parameter->Touch();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::ReleaseParameter(AAX_CParamID identifier)
{
    auto* const parameter = mParameterManager.GetParameterByID(identifier);
    if (parameter == nullptr)
        return AAX_ERROR_INVALID_PARAMETER_ID;
    parameter->Release();
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterTouch(AAX_CParamID, bool)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedValue(AAX_CParamID identifier,
                                                                 double value, int32_t)
{
    const AAX_Result changed = changeParameter(mParameterManager, identifier, value,
                                               [](AAX_IParameter& parameter, double normalized)
                                               { parameter.UpdateNormalizedValue(normalized); });
    if (changed != AAX_SUCCESS)
        return changed;
    const AAX_Result marked = mPacketDispatcher.SetDirty(identifier, true);
    // Wraps round after 2^32 changes; a negative count is not reported.
    mNumChanges.fetch_add(1, std::memory_order_relaxed);
    return marked;
}

AAX_Result AAX_CEffectParameters::UpdateParameterNormalizedRelative(AAX_CParamID identifier,
                                                                    double delta)
{
    double target = 0.0;
    const AAX_Result read = RelativeTarget(identifier, delta, target);
    return read != AAX_SUCCESS ? read : UpdateParameterNormalizedValue(identifier, target, 0);
}

AAX_Result AAX_CEffectParameters::GenerateCoefficients()
{
    return guardedCall([&]() -> AAX_Result { return mPacketDispatcher.Dispatch(); });
}

AAX_Result AAX_CEffectParameters::ResetFieldData(int32_t, void* data, uint32_t size) const
{
    if (data == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    std::memset(data, 0, size);
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetNumberOfChanges(int32_t* changes) const
{
    if (changes == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const int32_t counted = mNumChanges.load(std::memory_order_relaxed);
    if (counted >= 0)
        *changes = counted;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::TimerWakeup()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::GetCurveData(AAX_CTypeID, const float*, uint32_t, float*) const
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::GetCustomData(AAX_CTypeID, uint32_t, void*,
                                                uint32_t* written) const
{
    if (written == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *written = 0;
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::SetCustomData(AAX_CTypeID, uint32_t, const void*)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::DoMIDITransfers()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::RenderAudio_Hybrid(void*)
{
    return AAX_ERROR_UNIMPLEMENTED;
}

AAX_Result AAX_CEffectParameters::UpdateMIDINodes(int32_t, void*)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectParameters::UpdateControlMIDINodes(AAX_CTypeID, void*)
{
    return AAX_SUCCESS;
}

ACFResult AAX_CEffectParameters::InternalQueryInterface(const ACFGuid* iid, void** out)
{
    if (out != nullptr && (isGuid(iid, AAX_IACFEffectParameters::kIID) ||
                           isGuid(iid, AAX_IACFEffectParameters_V2::kIID)))
    {
        *out = static_cast<AAX_IACFEffectParameters_V2*>(this);
        AddRef();
        return AAX_SUCCESS;
    }
    return AAX_IEffectParameters::InternalQueryInterface(iid, out);
}

AAX_Result AAX_CEffectParameters::EffectInit()
{
    return AAX_SUCCESS;
}

AAX_IController* AAX_CEffectParameters::Controller() const
{
    return mController.get();
}

AAX_ITransport* AAX_CEffectParameters::Transport() const
{
    return mTransport.get();
}

void AAX_CEffectParameters::FilterParameterIDOnSave(AAX_CParamID identifier)
{
    if (identifier != nullptr)
        mFilteredParameterIDs.emplace(identifier);
}
