// View-container proxy: the host's native view the plug-in window is placed in.
#pragma once

#include "hosts/aax/proxies/AAX_IViewContainer.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

/** Never answers -20004: without the host's interface the getters answer 0 or null,
    SetViewSize 0 and the other operations -20009. */
class AAX_VViewContainer final : public AAX_IViewContainer
{
public:
    /** Asks the object (may be null) for the view-container interface. */
    explicit AAX_VViewContainer(IACFUnknown* hostObject);

    int32_t GetType() override;
    void* GetPtr() override;
    AAX_Result GetModifiers(uint32_t* modifiers) override;
    AAX_Result SetViewSize(const AAX_ViewSize& size) override;
    AAX_Result HandleParameterMouseDown(AAX_CParamID parameter, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseDrag(AAX_CParamID parameter, uint32_t modifiers) override;
    AAX_Result HandleParameterMouseUp(AAX_CParamID parameter, uint32_t modifiers) override;

private:
    HostInterfaceRef mView;
};
