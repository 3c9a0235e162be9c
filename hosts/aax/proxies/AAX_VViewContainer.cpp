#include "hosts/aax/proxies/AAX_VViewContainer.h"

using namespace ACFHost;

namespace
{
// Without the host's view the operations that answer a code say they are not implemented.
constexpr AAX_Result kWithoutView = AAX_ERROR_UNIMPLEMENTED;
} // namespace

AAX_VViewContainer::AAX_VViewContainer(IACFUnknown* hostObject)
    : mView(queryHostComponent(hostObject, ViewContainer::kV1, nullptr).v1)
{
}

int32_t AAX_VViewContainer::GetType()
{
    return forwardOr<ViewContainer::GetType>(int32_t{0}, mView);
}

void* AAX_VViewContainer::GetPtr()
{
    return forwardOr<ViewContainer::GetPtr>(static_cast<void*>(nullptr), mView);
}

AAX_Result AAX_VViewContainer::GetModifiers(uint32_t* modifiers)
{
    return forwardOr<ViewContainer::GetModifiers>(kWithoutView, mView, modifiers);
}

AAX_Result AAX_VViewContainer::SetViewSize(const AAX_ViewSize& size)
{
    return forwardOr<ViewContainer::SetViewSize, AAX_Result, const AAX_ViewSize&>(AAX_SUCCESS,
                                                                                  mView, size);
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDown(AAX_CParamID parameter, uint32_t modifiers)
{
    return forwardOr<ViewContainer::HandleParameterMouseDown>(kWithoutView, mView, parameter,
                                                              modifiers);
}

AAX_Result AAX_VViewContainer::HandleParameterMouseDrag(AAX_CParamID parameter, uint32_t modifiers)
{
    return forwardOr<ViewContainer::HandleParameterMouseDrag>(kWithoutView, mView, parameter,
                                                              modifiers);
}

AAX_Result AAX_VViewContainer::HandleParameterMouseUp(AAX_CParamID parameter, uint32_t modifiers)
{
    return forwardOr<ViewContainer::HandleParameterMouseUp>(kWithoutView, mView, parameter,
                                                            modifiers);
}
