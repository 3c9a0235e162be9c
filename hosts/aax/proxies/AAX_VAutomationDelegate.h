// Automation-delegate proxy: the host's automation channel of one plug-in instance.
#pragma once

#include "hosts/aax/proxies/AAX_IAutomationDelegate.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

/** Called on whichever thread changes a parameter; it adds no ordering of its own. */
class AAX_VAutomationDelegate final : public AAX_IAutomationDelegate
{
public:
    /** Asks the object (may be null) for the automation interface. */
    explicit AAX_VAutomationDelegate(IACFUnknown* hostObject);

    AAX_Result RegisterParameter(AAX_CParamID parameter) override;
    AAX_Result UnregisterParameter(AAX_CParamID parameter) override;
    AAX_Result PostSetValueRequest(AAX_CParamID parameter, double normalizedValue) const override;
    AAX_Result PostCurrentValue(AAX_CParamID parameter, double normalizedValue) const override;
    AAX_Result PostTouchRequest(AAX_CParamID parameter) override;
    AAX_Result PostReleaseRequest(AAX_CParamID parameter) override;
    AAX_Result GetTouchState(AAX_CParamID parameter, bool* touched) override;

private:
    HostInterfaceRef mAutomation;
};
