// The effect-GUI interface the host calls on a plug-in's window object: entries 0 to 2 of the
// root interface, then the entries below in declaration order (3 to 12). The order is the
// host's, so it must not change.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

class AAX_IString;

class AAX_IACFEffectGUI : public IACFUnknown
{
public:
    static constexpr ACFGuid kIID = acfGuid("{964E323D-424C-5E1A-2227-282423222E1E}");

    /** The host's controller object, through which the GUI finds its effect parameters. */
    virtual AAX_Result Initialize(IACFUnknown* controller) = 0;
    virtual AAX_Result Uninitialize() = 0;
    virtual AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) = 0;
    /** The host's view container, or null when the host takes its view away. */
    virtual AAX_Result SetViewContainer(IACFUnknown* viewContainer) = 0;
    /** Height, then width. */
    virtual AAX_Result GetViewSize(AAX_ViewSize* size) const = 0;
    virtual AAX_Result Draw(const void* area) = 0;
    virtual AAX_Result TimerWakeup() = 0;
    virtual AAX_Result ParameterUpdated(AAX_CParamID identifier) = 0;
    virtual AAX_Result GetCustomLabel(AAX_CTypeID selector, AAX_IString* label) const = 0;
    virtual AAX_Result SetControlHighlightInfo(AAX_CParamID identifier, bool highlighted,
                                               int32_t colour) = 0;

protected:
    ~AAX_IACFEffectGUI() = default;
};
