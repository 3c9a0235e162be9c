// The host's native view that the plug-in's window is placed in.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

class AAX_IViewContainer
{
public:
    virtual ~AAX_IViewContainer() = default;
    virtual int32_t GetType() = 0;
    /** The native view. */
    virtual void* GetPtr() = 0;
    virtual AAX_Result GetModifiers(uint32_t* modifiers) = 0;
    virtual AAX_Result SetViewSize(const AAX_ViewSize& size) = 0;
    virtual AAX_Result HandleParameterMouseDown(AAX_CParamID parameter, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseDrag(AAX_CParamID parameter, uint32_t modifiers) = 0;
    virtual AAX_Result HandleParameterMouseUp(AAX_CParamID parameter, uint32_t modifiers) = 0;
};
