#include "hosts/aax/gui/AAX_CEffectGUI.h"

#include "hosts/aax/component/GuardedCall.h"
#include "hosts/aax/proxies/AAX_VController.h"
#include "hosts/aax/proxies/AAX_VTransport.h"
#include "hosts/aax/proxies/AAX_VViewContainer.h"
#include "hosts/aax/text/AAX_CString.h"

#include <utility>

AAX_CEffectGUI::AAX_CEffectGUI() = default;

AAX_CEffectGUI::~AAX_CEffectGUI()
{
    AAX_CEffectGUI::Uninitialize();
}

AAX_Result AAX_CEffectGUI::Initialize(IACFUnknown* controller)
{
    return guardedCall(
        [&]() -> AAX_Result
        {
            // Uninitialised first, so that a second call leaks no host reference.
            if (mController != nullptr)
                ReleaseHostObjects();
            mController = std::make_unique<AAX_VController>(controller);
            if (controller == nullptr)
                return AAX_ERROR_NOT_INITIALIZED;
            // Kept only when the host says it gave them, so a refusal leaves nothing to release.
            void* parameters = nullptr;
            if (ACFHost::Unknown::QueryInterface::call(controller, &AAX_IACFEffectParameters::kIID,
                                                       &parameters) == AAX_SUCCESS)
                mEffectParameters = static_cast<AAX_IACFEffectParameters*>(parameters);
            mTransport = std::make_unique<AAX_VTransport>(controller);
            CreateViewContents();
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectGUI::Uninitialize()
{
    ReleaseHostObjects();
    return AAX_SUCCESS;
}

void AAX_CEffectGUI::ReleaseHostObjects()
{
    if (auto* const parameters = std::exchange(mEffectParameters, nullptr))
        parameters->Release();
    mController.reset();
    mTransport.reset();
    mViewContainer.reset();
}

AAX_Result AAX_CEffectGUI::NotificationReceived(AAX_CTypeID, const void*, uint32_t)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::SetViewContainer(IACFUnknown* viewContainer)
{
    return guardedCall(
        [&]() -> AAX_Result
        {
            // The hooks find the new container in place, or none when it is taken away.
            mViewContainer.reset();
            if (viewContainer != nullptr)
            {
                mViewContainer = std::make_unique<AAX_VViewContainer>(viewContainer);
                CreateViewContainer();
                UpdateAllParameters();
            }
            else
            {
                DeleteViewContainer();
            }
            return AAX_SUCCESS;
        });
}

AAX_Result AAX_CEffectGUI::GetViewSize(AAX_ViewSize*) const
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::Draw(const void*)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::TimerWakeup()
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::ParameterUpdated(AAX_CParamID)
{
    return AAX_SUCCESS;
}

AAX_Result AAX_CEffectGUI::GetCustomLabel(AAX_CTypeID, AAX_IString*) const
{
    return AAX_ERROR_NULL_OBJECT;
}

AAX_Result AAX_CEffectGUI::SetControlHighlightInfo(AAX_CParamID, bool, int32_t)
{
    return AAX_SUCCESS;
}

ACFResult AAX_CEffectGUI::InternalQueryInterface(const ACFGuid* iid, void** out)
{
    if (out != nullptr && isGuid(iid, AAX_IACFEffectGUI::kIID))
    {
        *out = static_cast<AAX_IACFEffectGUI*>(this);
        AddRef();
        return AAX_SUCCESS;
    }
    return AAX_IEffectGUI::InternalQueryInterface(iid, out);
}

int32_t AAX_CEffectGUI::GetViewContainerType() const
{
    return mViewContainer != nullptr ? mViewContainer->GetType() : 0;
}

void* AAX_CEffectGUI::GetViewContainerPtr() const
{
    return mViewContainer != nullptr ? mViewContainer->GetPtr() : nullptr;
}

void AAX_CEffectGUI::UpdateAllParameters()
{
    if (mEffectParameters == nullptr)
        return;
    int32_t count = 0;
    if (mEffectParameters->GetNumberOfParameters(&count) != AAX_SUCCESS || count < 0)
        return;
    for (int32_t index = 0; index < count; ++index)
    {
        AAX_CString identifier;
        if (mEffectParameters->GetParameterIDFromIndex(index, &identifier) == AAX_SUCCESS)
            ParameterUpdated(identifier.Get());
    }
}
