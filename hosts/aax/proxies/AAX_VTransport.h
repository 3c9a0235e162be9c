// Transport proxy: the host's timeline, read by the framework's play-head query.
#pragma once

#include "hosts/aax/proxies/AAX_ITransport.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

class AAX_VTransport final : public AAX_ITransport
{
public:
    /** Asks the object (may be null) for versions 1 and 2 of the transport, each on its own. */
    explicit AAX_VTransport(IACFUnknown* hostObject);

    AAX_Result GetCurrentTempo(double* beatsPerMinute) const override;
    AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const override;
    AAX_Result IsTransportPlaying(bool* playing) const override;
    AAX_Result GetCurrentTickPosition(int64_t* ticks) const override;
    AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                      int64_t* endTicks) const override;
    AAX_Result GetCurrentNativeSampleLocation(int64_t* samples) const override;
    AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t samples) const override;
    AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* ticks,
                                  int64_t samples) const override;
    AAX_Result GetTicksPerQuarter(uint32_t* ticks) const override;
    AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) const override;
    AAX_Result GetTimelineSelectionStartPosition(int64_t* samples) const override;
    AAX_Result GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) const override;
    AAX_Result GetFeetFramesInfo(int32_t* rate, int64_t* offset) const override;
    AAX_Result IsMetronomeEnabled(int32_t* enabled) const override;

private:
    HostComponent mHost;
};
