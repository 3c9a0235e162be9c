// The plug-in's window object in the host: keeps the host's controller, transport and view
// container, finds the instance's effect parameters through the controller, and turns the host's
// calls into a few hooks for a derived class that builds and places the window's content.
#pragma once

#include "hosts/aax/effect/AAX_IACFEffectParameters.h"
#include "hosts/aax/gui/AAX_IEffectGUI.h"

#include <memory>

class AAX_IController;
class AAX_ITransport;
class AAX_IViewContainer;

/** Calls on one object must not overlap. Host-facing operations catch everything and answer
    0x8000FFFF for what escapes. */
class AAX_CEffectGUI : public AAX_IEffectGUI
{
public:
    AAX_CEffectGUI();
    /** Uninitialises, if the host never did. */
    ~AAX_CEffectGUI() override;

    AAX_CEffectGUI(const AAX_CEffectGUI&) = delete;
    AAX_CEffectGUI& operator=(const AAX_CEffectGUI&) = delete;

    /** Keeps a controller (also for a null object, which then answers -20011), asks the object
        for the effect parameters, keeps a transport and builds the view contents. A second call
        uninitialises first. */
    AAX_Result Initialize(IACFUnknown* controller) override;
    /** Releases the effect parameters and deletes the host's objects. */
    AAX_Result Uninitialize() override;
    AAX_Result NotificationReceived(AAX_CTypeID type, const void* data, uint32_t size) override;
    /** Replaces the view container: a new one gets the contents attached and every parameter
        announced; null detaches them. 0 whatever the hooks answer. */
    AAX_Result SetViewContainer(IACFUnknown* viewContainer) override;
    /** Leaves the size as it is. */
    AAX_Result GetViewSize(AAX_ViewSize* size) const override;
    AAX_Result Draw(const void* area) override;
    AAX_Result TimerWakeup() override;
    AAX_Result ParameterUpdated(AAX_CParamID identifier) override;
    /** No custom labels: -20004. */
    AAX_Result GetCustomLabel(AAX_CTypeID selector, AAX_IString* label) const override;
    AAX_Result SetControlHighlightInfo(AAX_CParamID identifier, bool highlighted,
                                       int32_t colour) override;

    /** Answers the effect-GUI interface with this object. */
    ACFResult InternalQueryInterface(const ACFGuid* iid, void** out) override;

    /** The instance's effect parameters as the host's controller gave them; null without. */
    AAX_IACFEffectParameters* GetEffectParameters() const { return mEffectParameters; }
    AAX_IViewContainer* GetViewContainer() const { return mViewContainer.get(); }
    /** The container's view type; 0 without a container. */
    int32_t GetViewContainerType() const;
    /** The native view; null without a container. */
    void* GetViewContainerPtr() const;

protected:
    /** Builds the window's content; runs at the end of a successful Initialize. */
    virtual void CreateViewContents() = 0;
    /** Attaches the content to the view container just set. */
    virtual AAX_Result CreateViewContainer() = 0;
    /** Detaches and drops the content; the container is already gone. */
    virtual AAX_Result DeleteViewContainer() = 0;
    /** Calls ParameterUpdated for every parameter of the effect, in index order. */
    virtual void UpdateAllParameters();

private:
    /** Releases the effect parameters and deletes the host's objects. */
    void ReleaseHostObjects();

    std::unique_ptr<AAX_IController> mController;
    AAX_IACFEffectParameters* mEffectParameters = nullptr;
    std::unique_ptr<AAX_IViewContainer> mViewContainer;
    std::unique_ptr<AAX_ITransport> mTransport;
};
