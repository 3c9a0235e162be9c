#pragma once

#include "tests/hosts/common/AudioFiles.h"

#include <string>

/** The generated four-channel signals: "noise" (independent deterministic noise per channel, for
    sample-exact comparisons) and "circling" (a 440 Hz tone circling the listener once every two
    seconds while rising and falling, encoded as FuMa B-format W X Y Z). Throws UsageError for
    another name. */
MultichannelAudio generateSignal(const std::string& name, int64_t frames, double sampleRate);

constexpr const char* kSignalNames = "noise, circling";
