#include "hosts/aax/proxies/AAX_VComponentDescriptor.h"

#include "hosts/aax/proxies/AAX_VPropertyMap.h"
#include "hosts/aax/proxies/OwnedProxies.h"

using namespace ACFHost;

AAX_VComponentDescriptor::AAX_VComponentDescriptor(IACFUnknown* hostObject)
    : mHostObject(retainHostObject(hostObject)),
      mHost(createHostComponent(hostObject, ComponentDescriptor::kComponentID,
                                ComponentDescriptor::kV1, &ComponentDescriptor::kV2))
{
}

AAX_VComponentDescriptor::~AAX_VComponentDescriptor()
{
    deleteAll(mPropertyMaps);
    mHost.v2.reset();
    mHost.v1.reset();
    mHostObject.reset();
}

AAX_Result AAX_VComponentDescriptor::Clear()
{
    return forwardOr<ComponentDescriptor::Clear>(kMissingV1, mHost.v1);
}

AAX_Result AAX_VComponentDescriptor::AddAudioIn(uint32_t field)
{
    return forwardOr<ComponentDescriptor::AddAudioIn>(kMissingV1, mHost.v1, field);
}

AAX_Result AAX_VComponentDescriptor::AddAudioOut(uint32_t field)
{
    return forwardOr<ComponentDescriptor::AddAudioOut>(kMissingV1, mHost.v1, field);
}

AAX_Result AAX_VComponentDescriptor::AddAudioBufferLength(uint32_t field)
{
    return forwardOr<ComponentDescriptor::AddAudioBufferLength>(kMissingV1, mHost.v1, field);
}

AAX_Result AAX_VComponentDescriptor::AddSampleRate(uint32_t field)
{
    return forwardOr<ComponentDescriptor::AddSampleRate>(kMissingV1, mHost.v1, field);
}

AAX_Result AAX_VComponentDescriptor::AddClock(uint32_t field)
{
    return forwardOr<ComponentDescriptor::AddClock>(kMissingV1, mHost.v1, field);
}

AAX_Result AAX_VComponentDescriptor::AddSideChainIn(uint32_t field)
{
    return forwardOr<ComponentDescriptor::AddSideChainIn>(kMissingV1, mHost.v1, field);
}

AAX_Result AAX_VComponentDescriptor::AddDataInPort(uint32_t field, uint32_t packetSize,
                                                   int32_t third)
{
    return forwardOr<ComponentDescriptor::AddDataInPort>(kMissingV1, mHost.v1, field, packetSize,
                                                         third);
}

AAX_Result AAX_VComponentDescriptor::AddAuxOutputStem(uint32_t field, int32_t stemFormat,
                                                      const char* name)
{
    return forwardOr<ComponentDescriptor::AddAuxOutputStem>(kMissingV1, mHost.v1, field, stemFormat,
                                                            name);
}

AAX_Result AAX_VComponentDescriptor::AddPrivateData(uint32_t field, uint32_t size, int32_t options)
{
    return forwardOr<ComponentDescriptor::AddPrivateData>(kMissingV1, mHost.v1, field, size,
                                                          options);
}

AAX_Result AAX_VComponentDescriptor::ForwardToEntry19(int32_t first, int32_t second)
{
    return forwardOr<ComponentDescriptor::Entry19>(kMissingV2, mHost.v2, first, second);
}

AAX_Result AAX_VComponentDescriptor::ForwardToEntry14(int32_t first, int32_t second)
{
    return forwardOr<ComponentDescriptor::Entry14>(kMissingV1, mHost.v1, first, second);
}

AAX_Result AAX_VComponentDescriptor::ForwardToEntry18(int32_t value, void* pointer, uint32_t count)
{
    return forwardOr<ComponentDescriptor::Entry18>(kMissingV1, mHost.v1, value, pointer, count);
}

AAX_Result AAX_VComponentDescriptor::AddMIDINode(uint32_t field, int32_t nodeType, const char* name,
                                                 uint32_t channelMask)
{
    return forwardOr<ComponentDescriptor::AddMIDINode>(kMissingV1, mHost.v1, field, nodeType, name,
                                                       channelMask);
}

AAX_Result AAX_VComponentDescriptor::ForwardToEntry4(int32_t first, int32_t second)
{
    return forwardOr<ComponentDescriptor::Entry4>(kMissingV1, mHost.v1, first, second);
}

AAX_IPropertyMap* AAX_VComponentDescriptor::NewPropertyMap()
{
    return makeOwned<AAX_VPropertyMap>(mPropertyMaps, mHostObject.get());
}

AAX_IPropertyMap* AAX_VComponentDescriptor::DuplicatePropertyMap(AAX_IPropertyMap* source)
{
    auto* const copy = NewPropertyMap();
    if (source == nullptr)
        return copy;
    for (uint32_t id = 10; id <= 351; ++id)
    {
        int32_t value = 0;
        if (source->GetProperty(id, &value))
            copy->AddProperty(id, value);
    }
    return copy;
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_Native(AAX_ProcPtr process,
                                                           AAX_IPropertyMap* properties,
                                                           void* first, void* second, void* third)
{
    return forwardOr<ComponentDescriptor::AddProcessProc_Native>(
        kMissingV1, mHost.v1, process, hostInterfaceOf(properties), first, second, third);
}

AAX_Result AAX_VComponentDescriptor::AddProcessProc_TI(void* first, void* second,
                                                       AAX_IPropertyMap* properties, void* third,
                                                       void* fourth)
{
    return forwardOr<ComponentDescriptor::AddProcessProc_TI>(
        kMissingV1, mHost.v1, first, second, hostInterfaceOf(properties), third, fourth);
}
