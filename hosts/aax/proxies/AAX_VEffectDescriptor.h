// Effect descriptor proxy: forwards to the host's effect descriptor and owns the component
// descriptors and property maps it makes.
#pragma once

#include "hosts/aax/proxies/AAX_IEffectDescriptor.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

#include <set>

class AAX_VComponentDescriptor;
class AAX_VPropertyMap;

class AAX_VEffectDescriptor final : public AAX_IEffectDescriptor
{
public:
    /** The host object may be null; the descriptor then answers without host calls. */
    explicit AAX_VEffectDescriptor(IACFUnknown* hostObject);
    /** Deletes its component descriptors and property maps, then lets go of the host's
        interfaces. */
    ~AAX_VEffectDescriptor() override;

    AAX_VEffectDescriptor(const AAX_VEffectDescriptor&) = delete;
    AAX_VEffectDescriptor& operator=(const AAX_VEffectDescriptor&) = delete;

    AAX_IComponentDescriptor* NewComponentDescriptor() override;
    AAX_Result AddComponent(AAX_IComponentDescriptor* component) override;
    AAX_Result AddName(const char* name) override;
    AAX_Result AddCategory(uint32_t category) override;
    AAX_Result AddCategoryBypassParameter(uint32_t category, AAX_CParamID parameter) override;
    AAX_Result AddProcPtr(AAX_ProcPtr function, uint32_t procedureID) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* properties) override;
    AAX_Result AddResourceInfo(uint32_t resourceType, const char* info) override;
    AAX_Result AddMeterDescription(uint32_t meterID, const char* name,
                                   AAX_IPropertyMap* properties) override;
    AAX_Result AddControlMIDINode(uint32_t nodeID, uint32_t nodeType, const char* name,
                                  uint32_t channelMask) override;

    /** The host's version-1 interface, as other host calls take the descriptor. */
    IACFUnknown* GetIUnknown() const { return mHost.v1.get(); }

private:
    HostInterfaceRef mHostObject;
    HostComponent mHost;
    std::set<AAX_VComponentDescriptor*> mComponentDescriptors;
    std::set<AAX_VPropertyMap*> mPropertyMaps;
};
