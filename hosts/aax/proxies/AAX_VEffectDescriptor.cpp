#include "hosts/aax/proxies/AAX_VEffectDescriptor.h"

#include "hosts/aax/proxies/AAX_VComponentDescriptor.h"
#include "hosts/aax/proxies/AAX_VPropertyMap.h"
#include "hosts/aax/proxies/OwnedProxies.h"

using namespace ACFHost;

AAX_VEffectDescriptor::AAX_VEffectDescriptor(IACFUnknown* hostObject)
    : mHostObject(retainHostObject(hostObject)),
      mHost(createHostComponent(hostObject, EffectDescriptor::kComponentID, EffectDescriptor::kV1,
                                &EffectDescriptor::kV2))
{
}

AAX_VEffectDescriptor::~AAX_VEffectDescriptor()
{
    deleteAll(mComponentDescriptors);
    deleteAll(mPropertyMaps);
    mHost.v2.reset();
    mHost.v1.reset();
    mHostObject.reset();
}

AAX_IComponentDescriptor* AAX_VEffectDescriptor::NewComponentDescriptor()
{
    return makeOwned<AAX_VComponentDescriptor>(mComponentDescriptors, mHostObject.get());
}

AAX_Result AAX_VEffectDescriptor::AddComponent(AAX_IComponentDescriptor* component)
{
    // Components handed to this proxy are made by this family, so the cast holds.
    auto* const hostComponent =
        component != nullptr ? static_cast<AAX_VComponentDescriptor*>(component)->GetIUnknown()
                             : nullptr;
    return forwardOr<EffectDescriptor::AddComponent>(kMissingV1, mHost.v1, hostComponent);
}

AAX_Result AAX_VEffectDescriptor::AddName(const char* name)
{
    return forwardOr<EffectDescriptor::AddName>(kMissingV1, mHost.v1, name);
}

AAX_Result AAX_VEffectDescriptor::AddCategory(uint32_t category)
{
    return forwardOr<EffectDescriptor::AddCategory>(kMissingV1, mHost.v1, category);
}

AAX_Result AAX_VEffectDescriptor::AddCategoryBypassParameter(uint32_t category,
                                                             AAX_CParamID parameter)
{
    return forwardOr<EffectDescriptor::AddCategoryBypassParameter>(kMissingV1, mHost.v1, category,
                                                                   parameter);
}

AAX_Result AAX_VEffectDescriptor::AddProcPtr(AAX_ProcPtr function, uint32_t procedureID)
{
    return forwardOr<EffectDescriptor::AddProcPtr>(kMissingV1, mHost.v1, function, procedureID);
}

AAX_IPropertyMap* AAX_VEffectDescriptor::NewPropertyMap()
{
    return makeOwned<AAX_VPropertyMap>(mPropertyMaps, mHostObject.get());
}

AAX_Result AAX_VEffectDescriptor::SetProperties(AAX_IPropertyMap* properties)
{
    return forwardOr<EffectDescriptor::SetProperties>(kMissingV1, mHost.v1,
                                                      hostInterfaceOf(properties));
}

AAX_Result AAX_VEffectDescriptor::AddResourceInfo(uint32_t resourceType, const char* info)
{
    return forwardOr<EffectDescriptor::AddResourceInfo>(kMissingV1, mHost.v1, resourceType, info);
}

AAX_Result AAX_VEffectDescriptor::AddMeterDescription(uint32_t meterID, const char* name,
                                                      AAX_IPropertyMap* properties)
{
    return forwardOr<EffectDescriptor::AddMeterDescription>(kMissingV1, mHost.v1, meterID, name,
                                                            hostInterfaceOf(properties));
}

AAX_Result AAX_VEffectDescriptor::AddControlMIDINode(uint32_t nodeID, uint32_t nodeType,
                                                     const char* name, uint32_t channelMask)
{
    return forwardOr<EffectDescriptor::AddControlMIDINode>(kMissingV2, mHost.v2, nodeID, nodeType,
                                                           name, channelMask);
}
