// Controller proxy: the host's side of one plug-in instance.
#pragma once

#include "hosts/aax/proxies/AAX_IController.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

/** PostPacket runs on the thread that dispatches packets; the proxy adds no ordering. */
class AAX_VController final : public AAX_IController
{
public:
    /** Asks the object (may be null) for versions 1 and 2 of the controller, each on its own. */
    explicit AAX_VController(IACFUnknown* hostObject);

    AAX_Result GetEffectID(AAX_IString* effectID) const override;
    AAX_Result GetSampleRate(float* sampleRate) const override;
    AAX_Result GetInputStemFormat(int32_t* stemFormat) const override;
    AAX_Result GetOutputStemFormat(int32_t* stemFormat) const override;
    AAX_Result GetSignalLatency(int32_t* samples) const override;
    AAX_Result GetCycleCount(uint32_t propertyID, int32_t* count) const override;
    AAX_Result GetTODLocation(int64_t* location) const override;
    AAX_Result SetSignalLatency(int32_t samples) override;
    AAX_Result SetCycleCount(uint32_t* ids, int32_t* values, int32_t count) override;
    AAX_Result PostPacket(uint32_t field, const void* payload, uint32_t size) override;
    AAX_Result SendNotification(uint32_t notificationType, const void* data,
                                uint32_t size) override;
    AAX_Result ForwardToEntry13(uint32_t id, void* out) const override;
    AAX_Result ForwardToEntry14(uint32_t id, void* out) const override;
    AAX_Result ForwardToEntry15(uint32_t id) override;
    AAX_Result ForwardToEntry18(void* out) const override;
    AAX_Result ForwardToEntry16(uint32_t id, void* out) const override;
    AAX_Result ForwardToEntry17(uint32_t id) override;
    AAX_Result ForwardToEntry19(void* first, void* second) override;
    AAX_Result ForwardToEntry21(void* out) const override;
    AAX_Result ForwardToEntry22(int64_t* out) const override;
    AAX_Result ForwardToEntry23(void* out) const override;

private:
    HostComponent mHost;
};
