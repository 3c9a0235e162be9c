#include "hosts/aax/proxies/AAX_VPropertyMap.h"

using namespace ACFHost;

namespace
{
// The host answers a boolean of its own; only the low byte carries it.
bool hostBoolean(int32_t answer)
{
    return (answer & 0xFF) != 0;
}
} // namespace

AAX_VPropertyMap::AAX_VPropertyMap(IACFUnknown* hostObject)
    : mHost(createHostComponent(hostObject, PropertyMap::kComponentID, PropertyMap::kV1,
                                &PropertyMap::kV2))
{
}

bool AAX_VPropertyMap::GetProperty(uint32_t id, int32_t* value) const
{
    return hostBoolean(forwardOr<PropertyMap::GetProperty>(0, mHost.v1, id, value));
}

AAX_Result AAX_VPropertyMap::AddProperty(uint32_t id, int32_t value)
{
    return forwardOr<PropertyMap::AddProperty>(kMissingV1, mHost.v1, id, value);
}

AAX_Result AAX_VPropertyMap::RemoveProperty(uint32_t id)
{
    return forwardOr<PropertyMap::RemoveProperty>(kMissingV1, mHost.v1, id);
}

AAX_Result AAX_VPropertyMap::AddPropertyWithIDArray(uint32_t id, const void* array, uint32_t count)
{
    return forwardOr<PropertyMap::AddPropertyWithIDArray>(kMissingV2, mHost.v2, id, array, count);
}

bool AAX_VPropertyMap::GetPropertyWithIDArray(uint32_t id, const void** array,
                                              uint32_t* count) const
{
    return hostBoolean(
        forwardOr<PropertyMap::GetPropertyWithIDArray>(0, mHost.v2, id, array, count));
}

IACFUnknown* hostInterfaceOf(AAX_IPropertyMap* properties)
{
    // Maps handed to these proxies are made by them, so the cast holds.
    return properties != nullptr ? static_cast<AAX_VPropertyMap*>(properties)->GetIUnknown()
                                 : nullptr;
}
