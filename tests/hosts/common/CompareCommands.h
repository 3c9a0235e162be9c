#pragma once

#include "tests/hosts/common/Arguments.h"

// The checks the test hosts' render and editor tests end with; each answers the exit code.

/** compare A.wav B.wav: the same samples, bit for bit. */
int runCompare(Arguments& arguments);
/** compare-images A.png B.png [--tolerance N] [--text-area X,Y,W,H ...] [--text-tolerance N]. */
int runCompareImages(Arguments& arguments);
