// The algorithm of an effect: its context fields, processing procedure and properties.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

class AAX_IPropertyMap;

class AAX_IComponentDescriptor
{
public:
    virtual ~AAX_IComponentDescriptor() = default;
    virtual AAX_Result Clear() = 0;
    virtual AAX_Result AddAudioIn(uint32_t field) = 0;
    virtual AAX_Result AddAudioOut(uint32_t field) = 0;
    virtual AAX_Result AddAudioBufferLength(uint32_t field) = 0;
    virtual AAX_Result AddSampleRate(uint32_t field) = 0;
    virtual AAX_Result AddClock(uint32_t field) = 0;
    virtual AAX_Result AddSideChainIn(uint32_t field) = 0;
    virtual AAX_Result AddDataInPort(uint32_t field, uint32_t packetSize, int32_t third) = 0;
    virtual AAX_Result AddAuxOutputStem(uint32_t field, int32_t stemFormat, const char* name) = 0;
    virtual AAX_Result AddPrivateData(uint32_t field, uint32_t size, int32_t options) = 0;
    // Operations the host names no further; each forwards to the entry in its name.
    virtual AAX_Result ForwardToEntry19(int32_t first, int32_t second) = 0;
    virtual AAX_Result ForwardToEntry14(int32_t first, int32_t second) = 0;
    virtual AAX_Result ForwardToEntry18(int32_t value, void* pointer, uint32_t count) = 0;
    virtual AAX_Result AddMIDINode(uint32_t field, int32_t nodeType, const char* name,
                                   uint32_t channelMask) = 0;
    virtual AAX_Result ForwardToEntry4(int32_t first, int32_t second) = 0;
    /** A new property map, owned by this descriptor. */
    virtual AAX_IPropertyMap* NewPropertyMap() = 0;
    /** A new map, owned by this descriptor, holding the source's properties 10 to 351. */
    virtual AAX_IPropertyMap* DuplicatePropertyMap(AAX_IPropertyMap* source) = 0;
    virtual AAX_Result AddProcessProc_Native(AAX_ProcPtr process, AAX_IPropertyMap* properties,
                                             void* first, void* second, void* third) = 0;
    virtual AAX_Result AddProcessProc_TI(void* first, void* second, AAX_IPropertyMap* properties,
                                         void* third, void* fourth) = 0;
};
