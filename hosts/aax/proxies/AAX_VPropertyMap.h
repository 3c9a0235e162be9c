// Property map proxy: forwards to the host's property map.
#pragma once

#include "hosts/aax/proxies/AAX_IPropertyMap.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

class AAX_VPropertyMap final : public AAX_IPropertyMap
{
public:
    /** The host object may be null; the map then answers every operation without a call. */
    explicit AAX_VPropertyMap(IACFUnknown* hostObject);

    bool GetProperty(uint32_t id, int32_t* value) const override;
    AAX_Result AddProperty(uint32_t id, int32_t value) override;
    AAX_Result RemoveProperty(uint32_t id) override;
    AAX_Result AddPropertyWithIDArray(uint32_t id, const void* array, uint32_t count) override;
    bool GetPropertyWithIDArray(uint32_t id, const void** array, uint32_t* count) const override;

    /** The host's version-1 interface, as other host calls take the map. */
    IACFUnknown* GetIUnknown() const { return mHost.v1.get(); }

private:
    HostComponent mHost;
};

/** The version-1 interface of a map of this family, or null. */
IACFUnknown* hostInterfaceOf(AAX_IPropertyMap* properties);
