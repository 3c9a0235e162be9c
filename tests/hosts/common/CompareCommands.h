#pragma once

#include "tests/hosts/common/Arguments.h"

// The commands every test host offers besides its own: the input signal its render tests start
// from and the checks they end with. Each answers the exit code.

/** generate SIGNAL --out FILE [--frames N | --seconds S] [--rate HZ]: a 32-bit float WAV. */
int runGenerate(Arguments& arguments);

/** compare A.wav B.wav: the same samples, bit for bit. */
int runCompare(Arguments& arguments);
/** compare-images A.png B.png [--tolerance N] [--text-area X,Y,W,H ...] [--text-tolerance N]. */
int runCompareImages(Arguments& arguments);
