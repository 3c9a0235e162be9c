#pragma once

#include "tests/hosts/common/Arguments.h"
#include "tests/hosts/common/AudioFiles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

/** A setting that changes at the first block starting at or after frame. */
struct ScheduledChange
{
    int64_t frame;
    bool isGain; // otherwise the direction
    std::string value;
};

/** What a render command sets besides its signal and buffers: the starting gain and direction
    and the changes on the way ("--gain", "--direction", every "--change", "--bypass"). */
struct RenderSettings
{
    std::optional<std::string> gain;
    std::optional<std::string> direction;
    /** In frame order. */
    std::vector<ScheduledChange> changes;
    bool bypass = false;

    static RenderSettings take(Arguments& arguments);
    bool directionChanges() const;
    /** Prints the peaks of both sides, named by channel order when one direction holds. */
    void printPeaks(const MultichannelAudio& input, const MultichannelAudio& output) const;
};
