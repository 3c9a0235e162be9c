#include "hosts/aax/proxies/AAX_VTransport.h"

using namespace ACFHost;

AAX_VTransport::AAX_VTransport(IACFUnknown* hostObject)
    : mHost(queryHostComponent(hostObject, Transport::kV1, &Transport::kV2))
{
}

AAX_Result AAX_VTransport::GetCurrentTempo(double* beatsPerMinute) const
{
    return forwardOr<Transport::GetCurrentTempo>(kMissingV1, mHost.v1, beatsPerMinute);
}

AAX_Result AAX_VTransport::GetCurrentMeter(int32_t* numerator, int32_t* denominator) const
{
    return forwardOr<Transport::GetCurrentMeter>(kMissingV1, mHost.v1, numerator, denominator);
}

AAX_Result AAX_VTransport::IsTransportPlaying(bool* playing) const
{
    return forwardOr<Transport::IsTransportPlaying>(kMissingV1, mHost.v1, playing);
}

AAX_Result AAX_VTransport::GetCurrentTickPosition(int64_t* ticks) const
{
    return forwardOr<Transport::GetCurrentTickPosition>(kMissingV1, mHost.v1, ticks);
}

AAX_Result AAX_VTransport::GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                                  int64_t* endTicks) const
{
    return forwardOr<Transport::GetCurrentLoopPosition>(kMissingV1, mHost.v1, looping, startTicks,
                                                        endTicks);
}

AAX_Result AAX_VTransport::GetCurrentNativeSampleLocation(int64_t* samples) const
{
    return forwardOr<Transport::GetCurrentNativeSampleLocation>(kMissingV1, mHost.v1, samples);
}

AAX_Result AAX_VTransport::GetCustomTickPosition(int64_t* ticks, int64_t samples) const
{
    return forwardOr<Transport::GetCustomTickPosition>(kMissingV1, mHost.v1, ticks, samples);
}

AAX_Result AAX_VTransport::GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* ticks,
                                              int64_t samples) const
{
    return forwardOr<Transport::GetBarBeatPosition>(kMissingV1, mHost.v1, bars, beats, ticks,
                                                    samples);
}

AAX_Result AAX_VTransport::GetTicksPerQuarter(uint32_t* ticks) const
{
    return forwardOr<Transport::GetTicksPerQuarter>(kMissingV1, mHost.v1, ticks);
}

AAX_Result AAX_VTransport::GetCurrentTicksPerBeat(uint32_t* ticks) const
{
    return forwardOr<Transport::GetCurrentTicksPerBeat>(kMissingV1, mHost.v1, ticks);
}

AAX_Result AAX_VTransport::GetTimelineSelectionStartPosition(int64_t* samples) const
{
    return forwardOr<Transport::GetTimelineSelectionStartPosition>(kMissingV2, mHost.v2, samples);
}

AAX_Result AAX_VTransport::GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) const
{
    return forwardOr<Transport::GetTimeCodeInfo>(kMissingV2, mHost.v2, frameRate, offset);
}

AAX_Result AAX_VTransport::GetFeetFramesInfo(int32_t* rate, int64_t* offset) const
{
    return forwardOr<Transport::GetFeetFramesInfo>(kMissingV2, mHost.v2, rate, offset);
}

AAX_Result AAX_VTransport::IsMetronomeEnabled(int32_t* enabled) const
{
    return forwardOr<Transport::IsMetronomeEnabled>(kMissingV2, mHost.v2, enabled);
}
