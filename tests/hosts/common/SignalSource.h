#pragma once

#include "tests/hosts/common/Arguments.h"
#include "tests/hosts/common/AudioFiles.h"

#include <string>

/** The length of a generated signal. */
struct SignalLength
{
    int64_t frames;
    double sampleRate;
};

/** Takes --frames N or --seconds S, and --rate HZ. Defaults: one second at 48 kHz. */
SignalLength takeSignalLength(Arguments& arguments);

/** Takes --input FILE or --signal NAME (with its length options); says which in description. */
MultichannelAudio takeSignal(Arguments& arguments, std::string& description);

/** "-6.02 dBFS", or "-inf dBFS" for silence. */
std::string decibelText(float peak);
