// One effect of the plug-in, described during registration.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

class AAX_IComponentDescriptor;
class AAX_IPropertyMap;

class AAX_IEffectDescriptor
{
public:
    virtual ~AAX_IEffectDescriptor() = default;
    /** A new component descriptor, owned by this descriptor. */
    virtual AAX_IComponentDescriptor* NewComponentDescriptor() = 0;
    virtual AAX_Result AddComponent(AAX_IComponentDescriptor* component) = 0;
    virtual AAX_Result AddName(const char* name) = 0;
    virtual AAX_Result AddCategory(uint32_t category) = 0;
    virtual AAX_Result AddCategoryBypassParameter(uint32_t category, AAX_CParamID parameter) = 0;
    virtual AAX_Result AddProcPtr(AAX_ProcPtr function, uint32_t procedureID) = 0;
    /** A new property map, owned by this descriptor. */
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    virtual AAX_Result SetProperties(AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddResourceInfo(uint32_t resourceType, const char* info) = 0;
    virtual AAX_Result AddMeterDescription(uint32_t meterID, const char* name,
                                           AAX_IPropertyMap* properties) = 0;
    virtual AAX_Result AddControlMIDINode(uint32_t nodeID, uint32_t nodeType, const char* name,
                                          uint32_t channelMask) = 0;
};
