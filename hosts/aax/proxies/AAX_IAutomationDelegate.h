// The host's automation channel for the plug-in's parameters.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

class AAX_IAutomationDelegate
{
public:
    virtual ~AAX_IAutomationDelegate() = default;
    virtual AAX_Result RegisterParameter(AAX_CParamID parameter) = 0;
    virtual AAX_Result UnregisterParameter(AAX_CParamID parameter) = 0;
    virtual AAX_Result PostSetValueRequest(AAX_CParamID parameter,
                                           double normalizedValue) const = 0;
    virtual AAX_Result PostCurrentValue(AAX_CParamID parameter, double normalizedValue) const = 0;
    virtual AAX_Result PostTouchRequest(AAX_CParamID parameter) = 0;
    virtual AAX_Result PostReleaseRequest(AAX_CParamID parameter) = 0;
    virtual AAX_Result GetTouchState(AAX_CParamID parameter, bool* touched) = 0;
};
