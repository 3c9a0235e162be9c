// Collection proxy: forwards to the host's collection and owns the descriptors and property
// maps it makes. Lives for one registration.
#pragma once

#include "hosts/aax/proxies/AAX_ICollection.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

#include <set>

class AAX_VEffectDescriptor;
class AAX_VPropertyMap;

class AAX_VCollection final : public AAX_ICollection
{
public:
    /** The host object may be null; the collection then answers without host calls. */
    explicit AAX_VCollection(IACFUnknown* hostObject);
    /** Deletes every descriptor and property map it made, then lets go of the host's
        interfaces. */
    ~AAX_VCollection() override;

    AAX_VCollection(const AAX_VCollection&) = delete;
    AAX_VCollection& operator=(const AAX_VCollection&) = delete;

    AAX_IEffectDescriptor* NewDescriptor() override;
    /** A null descriptor answers -20004 without a host call. */
    AAX_Result AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor) override;
    AAX_Result SetManufacturerName(const char* name) override;
    AAX_Result AddPackageName(const char* name) override;
    AAX_Result SetPackageVersion(uint32_t version) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    AAX_Result SetProperties(AAX_IPropertyMap* properties) override;

    /** The host's collection interface, null when the host did not give it. */
    IACFUnknown* GetIUnknown() const { return mCollection.get(); }

private:
    HostInterfaceRef mHostObject;
    HostInterfaceRef mCollection;
    std::set<AAX_VEffectDescriptor*> mEffectDescriptors;
    std::set<AAX_VPropertyMap*> mPropertyMaps;
};
