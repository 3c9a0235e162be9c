#include "hosts/aax/proxies/AAX_VCollection.h"

#include "hosts/aax/proxies/AAX_VEffectDescriptor.h"
#include "hosts/aax/proxies/AAX_VPropertyMap.h"
#include "hosts/aax/proxies/OwnedProxies.h"

using namespace ACFHost;

AAX_VCollection::AAX_VCollection(IACFUnknown* hostObject)
    : mHostObject(retainHostObject(hostObject)),
      mCollection(
          createHostComponent(hostObject, Collection::kComponentID, Collection::kV1, nullptr).v1)
{
}

AAX_VCollection::~AAX_VCollection()
{
    deleteAll(mEffectDescriptors);
    deleteAll(mPropertyMaps);
    mCollection.reset();
    mHostObject.reset();
}

AAX_IEffectDescriptor* AAX_VCollection::NewDescriptor()
{
    return makeOwned<AAX_VEffectDescriptor>(mEffectDescriptors, mHostObject.get());
}

AAX_Result AAX_VCollection::AddEffect(const char* effectID, AAX_IEffectDescriptor* descriptor)
{
    if (descriptor == nullptr)
        return kMissingV1;
    // Descriptors handed to this proxy are made by it, so the cast holds.
    return forwardOr<Collection::AddEffect>(
        kMissingV1, mCollection, effectID,
        static_cast<AAX_VEffectDescriptor*>(descriptor)->GetIUnknown());
}

AAX_Result AAX_VCollection::SetManufacturerName(const char* name)
{
    return forwardOr<Collection::SetManufacturerName>(kMissingV1, mCollection, name);
}

AAX_Result AAX_VCollection::AddPackageName(const char* name)
{
    return forwardOr<Collection::AddPackageName>(kMissingV1, mCollection, name);
}

AAX_Result AAX_VCollection::SetPackageVersion(uint32_t version)
{
    return forwardOr<Collection::SetPackageVersion>(kMissingV1, mCollection, version);
}

AAX_IPropertyMap* AAX_VCollection::NewPropertyMap()
{
    return makeOwned<AAX_VPropertyMap>(mPropertyMaps, mHostObject.get());
}

AAX_Result AAX_VCollection::SetProperties(AAX_IPropertyMap* properties)
{
    return forwardOr<Collection::SetProperties>(kMissingV1, mCollection,
                                                hostInterfaceOf(properties));
}
