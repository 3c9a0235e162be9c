#include "hosts/aax/proxies/AAX_VController.h"

using namespace ACFHost;

AAX_VController::AAX_VController(IACFUnknown* hostObject)
    : mHost(queryHostComponent(hostObject, Controller::kV1, &Controller::kV2))
{
}

AAX_Result AAX_VController::GetEffectID(AAX_IString* effectID) const
{
    return forwardOr<Controller::GetEffectID>(kMissingV1, mHost.v1, effectID);
}

AAX_Result AAX_VController::GetSampleRate(float* sampleRate) const
{
    return forwardOr<Controller::GetSampleRate>(kMissingV1, mHost.v1, sampleRate);
}

AAX_Result AAX_VController::GetInputStemFormat(int32_t* stemFormat) const
{
    return forwardOr<Controller::GetInputStemFormat>(kMissingV1, mHost.v1, stemFormat);
}

AAX_Result AAX_VController::GetOutputStemFormat(int32_t* stemFormat) const
{
    return forwardOr<Controller::GetOutputStemFormat>(kMissingV1, mHost.v1, stemFormat);
}

AAX_Result AAX_VController::GetSignalLatency(int32_t* samples) const
{
    return forwardOr<Controller::GetSignalLatency>(kMissingV1, mHost.v1, samples);
}

AAX_Result AAX_VController::GetCycleCount(uint32_t propertyID, int32_t* count) const
{
    return forwardOr<Controller::GetCycleCount>(kMissingV1, mHost.v1, propertyID, count);
}

AAX_Result AAX_VController::GetTODLocation(int64_t* location) const
{
    return forwardOr<Controller::GetTODLocation>(kMissingV1, mHost.v1, location);
}

AAX_Result AAX_VController::SetSignalLatency(int32_t samples)
{
    return forwardOr<Controller::SetSignalLatency>(kMissingV1, mHost.v1, samples);
}

AAX_Result AAX_VController::SetCycleCount(uint32_t* ids, int32_t* values, int32_t count)
{
    return forwardOr<Controller::SetCycleCount>(kMissingV1, mHost.v1, ids, values, count);
}

AAX_Result AAX_VController::PostPacket(uint32_t field, const void* payload, uint32_t size)
{
    return forwardOr<Controller::PostPacket>(kMissingV1, mHost.v1, field, payload, size);
}

AAX_Result AAX_VController::SendNotification(uint32_t notificationType, const void* data,
                                             uint32_t size)
{
    return forwardOr<Controller::SendNotification>(kMissingV2, mHost.v2, notificationType, data,
                                                   size);
}

AAX_Result AAX_VController::ForwardToEntry13(uint32_t id, void* out) const
{
    return forwardOr<Controller::Entry13>(kMissingV1, mHost.v1, id, out);
}

AAX_Result AAX_VController::ForwardToEntry14(uint32_t id, void* out) const
{
    return forwardOr<Controller::Entry14>(kMissingV1, mHost.v1, id, out);
}

AAX_Result AAX_VController::ForwardToEntry15(uint32_t id)
{
    return forwardOr<Controller::Entry15>(kMissingV1, mHost.v1, id);
}

AAX_Result AAX_VController::ForwardToEntry18(void* out) const
{
    return forwardOr<Controller::Entry18>(kMissingV1, mHost.v1, out);
}

AAX_Result AAX_VController::ForwardToEntry16(uint32_t id, void* out) const
{
    return forwardOr<Controller::Entry16>(kMissingV1, mHost.v1, id, out);
}

AAX_Result AAX_VController::ForwardToEntry17(uint32_t id)
{
    return forwardOr<Controller::Entry17>(kMissingV1, mHost.v1, id);
}

AAX_Result AAX_VController::ForwardToEntry19(void* first, void* second)
{
    return forwardOr<Controller::Entry19>(kMissingV1, mHost.v1, first, second);
}

AAX_Result AAX_VController::ForwardToEntry21(void* out) const
{
    return forwardOr<Controller::Entry21>(kMissingV2, mHost.v2, out);
}

AAX_Result AAX_VController::ForwardToEntry22(int64_t* out) const
{
    // Callers read the value whatever the answer, so an older host leaves it at 0.
    if (!mHost.v2 && out != nullptr)
        *out = 0;
    return forwardOr<Controller::Entry22>(kMissingV2, mHost.v2, out);
}

AAX_Result AAX_VController::ForwardToEntry23(void* out) const
{
    return forwardOr<Controller::Entry23>(kMissingV2, mHost.v2, out);
}
