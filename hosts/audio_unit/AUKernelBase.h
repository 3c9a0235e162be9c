// The per-channel processor an effect may supply for each output channel. The effect creates,
// numbers, resets and deletes its kernels and hands each one its channel's samples.
#pragma once

#include "platform/MacTypes.h"

class AUKernelBase
{
public:
    AUKernelBase() = default;
    virtual ~AUKernelBase() = default;

    virtual void Reset() {}

    // One channel's samples; stride is the number of interleaved channels of the buffer (1 when
    // not interleaved). ioSilence arrives holding whether the input is silent; a kernel clears
    // it when its output is not.
    virtual void Process(const Float32* inSourceP, Float32* inDestP, UInt32 inFramesToProcess,
                         UInt32 inNumChannels, bool& ioSilence) = 0;
    /** 8.24 fixed-point samples. */
    virtual void Process(const SInt32* inSourceP, SInt32* inDestP, UInt32 inFramesToProcess,
                         UInt32 inNumChannels, bool& ioSilence) = 0;
    virtual void Process(const SInt16* inSourceP, SInt16* inDestP, UInt32 inFramesToProcess,
                         UInt32 inNumChannels, bool& ioSilence) = 0;

    void SetChannelNum(UInt32 inChan) { mChannelNum = inChan; }

    AUKernelBase(const AUKernelBase&) = delete;
    AUKernelBase& operator=(const AUKernelBase&) = delete;

protected:
    /** The output channel this kernel serves. */
    UInt32 mChannelNum = 0;
};
