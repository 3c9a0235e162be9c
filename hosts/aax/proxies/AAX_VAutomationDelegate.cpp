#include "hosts/aax/proxies/AAX_VAutomationDelegate.h"

using namespace ACFHost;

AAX_VAutomationDelegate::AAX_VAutomationDelegate(IACFUnknown* hostObject)
    : mAutomation(queryHostComponent(hostObject, Automation::kV1, nullptr).v1)
{
}

AAX_Result AAX_VAutomationDelegate::RegisterParameter(AAX_CParamID parameter)
{
    return forwardOr<Automation::RegisterParameter>(kMissingV1, mAutomation, parameter);
}

AAX_Result AAX_VAutomationDelegate::UnregisterParameter(AAX_CParamID parameter)
{
    return forwardOr<Automation::UnregisterParameter>(kMissingV1, mAutomation, parameter);
}

AAX_Result AAX_VAutomationDelegate::PostSetValueRequest(AAX_CParamID parameter,
                                                        double normalizedValue) const
{
    return forwardOr<Automation::PostSetValueRequest>(kMissingV1, mAutomation, parameter,
                                                      normalizedValue);
}

AAX_Result AAX_VAutomationDelegate::PostCurrentValue(AAX_CParamID parameter,
                                                     double normalizedValue) const
{
    return forwardOr<Automation::PostCurrentValue>(kMissingV1, mAutomation, parameter,
                                                   normalizedValue);
}

AAX_Result AAX_VAutomationDelegate::PostTouchRequest(AAX_CParamID parameter)
{
    return forwardOr<Automation::PostTouchRequest>(kMissingV1, mAutomation, parameter);
}

AAX_Result AAX_VAutomationDelegate::PostReleaseRequest(AAX_CParamID parameter)
{
    return forwardOr<Automation::PostReleaseRequest>(kMissingV1, mAutomation, parameter);
}

AAX_Result AAX_VAutomationDelegate::GetTouchState(AAX_CParamID parameter, bool* touched)
{
    return forwardOr<Automation::GetTouchState>(kMissingV1, mAutomation, parameter, touched);
}
