// The host's timeline: tempo, meter, play state and positions.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"

#include <cstdint>

class AAX_ITransport
{
public:
    virtual ~AAX_ITransport() = default;
    virtual AAX_Result GetCurrentTempo(double* beatsPerMinute) const = 0;
    virtual AAX_Result GetCurrentMeter(int32_t* numerator, int32_t* denominator) const = 0;
    virtual AAX_Result IsTransportPlaying(bool* playing) const = 0;
    virtual AAX_Result GetCurrentTickPosition(int64_t* ticks) const = 0;
    virtual AAX_Result GetCurrentLoopPosition(bool* looping, int64_t* startTicks,
                                              int64_t* endTicks) const = 0;
    virtual AAX_Result GetCurrentNativeSampleLocation(int64_t* samples) const = 0;
    virtual AAX_Result GetCustomTickPosition(int64_t* ticks, int64_t samples) const = 0;
    virtual AAX_Result GetBarBeatPosition(int32_t* bars, int32_t* beats, int64_t* ticks,
                                          int64_t samples) const = 0;
    virtual AAX_Result GetTicksPerQuarter(uint32_t* ticks) const = 0;
    virtual AAX_Result GetCurrentTicksPerBeat(uint32_t* ticks) const = 0;
    virtual AAX_Result GetTimelineSelectionStartPosition(int64_t* samples) const = 0;
    virtual AAX_Result GetTimeCodeInfo(int32_t* frameRate, int32_t* offset) const = 0;
    virtual AAX_Result GetFeetFramesInfo(int32_t* rate, int64_t* offset) const = 0;
    virtual AAX_Result IsMetronomeEnabled(int32_t* enabled) const = 0;
};
