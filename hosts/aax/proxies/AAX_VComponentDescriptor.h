// Component descriptor proxy: forwards to the host's component descriptor and owns the property
// maps it makes.
#pragma once

#include "hosts/aax/proxies/AAX_IComponentDescriptor.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

#include <set>

class AAX_VPropertyMap;

class AAX_VComponentDescriptor final : public AAX_IComponentDescriptor
{
public:
    /** The host object may be null; the descriptor then answers without host calls. */
    explicit AAX_VComponentDescriptor(IACFUnknown* hostObject);
    /** Deletes its property maps, then lets go of the host's interfaces. */
    ~AAX_VComponentDescriptor() override;

    AAX_VComponentDescriptor(const AAX_VComponentDescriptor&) = delete;
    AAX_VComponentDescriptor& operator=(const AAX_VComponentDescriptor&) = delete;

    AAX_Result Clear() override;
    AAX_Result AddAudioIn(uint32_t field) override;
    AAX_Result AddAudioOut(uint32_t field) override;
    AAX_Result AddAudioBufferLength(uint32_t field) override;
    AAX_Result AddSampleRate(uint32_t field) override;
    AAX_Result AddClock(uint32_t field) override;
    AAX_Result AddSideChainIn(uint32_t field) override;
    AAX_Result AddDataInPort(uint32_t field, uint32_t packetSize, int32_t third) override;
    AAX_Result AddAuxOutputStem(uint32_t field, int32_t stemFormat, const char* name) override;
    AAX_Result AddPrivateData(uint32_t field, uint32_t size, int32_t options) override;
    AAX_Result ForwardToEntry19(int32_t first, int32_t second) override;
    AAX_Result ForwardToEntry14(int32_t first, int32_t second) override;
    AAX_Result ForwardToEntry18(int32_t value, void* pointer, uint32_t count) override;
    AAX_Result AddMIDINode(uint32_t field, int32_t nodeType, const char* name,
                           uint32_t channelMask) override;
    AAX_Result ForwardToEntry4(int32_t first, int32_t second) override;
    AAX_IPropertyMap* NewPropertyMap() override;
    /** A null source gives an empty map. */
    AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* source) override;
    AAX_Result AddProcessProc_Native(AAX_ProcPtr process, AAX_IPropertyMap* properties, void* first,
                                     void* second, void* third) override;
    AAX_Result AddProcessProc_TI(void* first, void* second, AAX_IPropertyMap* properties,
                                 void* third, void* fourth) override;

    /** The host's version-1 interface, as other host calls take the descriptor. */
    IACFUnknown* GetIUnknown() const { return mHost.v1.get(); }

private:
    HostInterfaceRef mHostObject;
    HostComponent mHost;
    std::set<AAX_VPropertyMap*> mPropertyMaps;
};
