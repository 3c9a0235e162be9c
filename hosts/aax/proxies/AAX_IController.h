// The host's side of one plug-in instance: its context, latency and packets.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

class AAX_IController
{
public:
    virtual ~AAX_IController() = default;
    virtual AAX_Result GetEffectID(AAX_IString* effectID) const = 0;
    virtual AAX_Result GetSampleRate(float* sampleRate) const = 0;
    virtual AAX_Result GetInputStemFormat(int32_t* stemFormat) const = 0;
    virtual AAX_Result GetOutputStemFormat(int32_t* stemFormat) const = 0;
    virtual AAX_Result GetSignalLatency(int32_t* samples) const = 0;
    virtual AAX_Result GetCycleCount(uint32_t propertyID, int32_t* count) const = 0;
    virtual AAX_Result GetTODLocation(int64_t* location) const = 0;
    virtual AAX_Result SetSignalLatency(int32_t samples) = 0;
    virtual AAX_Result SetCycleCount(uint32_t* ids, int32_t* values, int32_t count) = 0;
    virtual AAX_Result PostPacket(uint32_t field, const void* payload, uint32_t size) = 0;
    virtual AAX_Result SendNotification(uint32_t notificationType, const void* data,
                                        uint32_t size) = 0;
    // Operations the host names no further; each forwards to the entry in its name.
    virtual AAX_Result ForwardToEntry13(uint32_t id, void* out) const = 0;
    virtual AAX_Result ForwardToEntry14(uint32_t id, void* out) const = 0;
    virtual AAX_Result ForwardToEntry15(uint32_t id) = 0;
    virtual AAX_Result ForwardToEntry18(void* out) const = 0;
    virtual AAX_Result ForwardToEntry16(uint32_t id, void* out) const = 0;
    virtual AAX_Result ForwardToEntry17(uint32_t id) = 0;
    virtual AAX_Result ForwardToEntry19(void* first, void* second) = 0;
    virtual AAX_Result ForwardToEntry21(void* out) const = 0;
    /** Without the host's version 2 the value reads 0 afterwards. */
    virtual AAX_Result ForwardToEntry22(int64_t* out) const = 0;
    virtual AAX_Result ForwardToEntry23(void* out) const = 0;
};
