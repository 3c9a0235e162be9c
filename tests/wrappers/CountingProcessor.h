// The plug-in's processor, counting how often its parameter is set: a change that comes back to
// it from the host shows as a second set.
#pragma once

#include "processor/LoomcraftAudioProcessor.h"

#include <atomic>

class CountingProcessor : public LoomcraftAudioProcessor
{
public:
    void setParameter(int index, float value) override
    {
        ++timesSet;
        LoomcraftAudioProcessor::setParameter(index, value);
    }

    std::atomic<int> timesSet{0};
};
