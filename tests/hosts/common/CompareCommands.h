#pragma once

#include "tests/hosts/common/Arguments.h"

// The subcommands every test host offers: the signal its renders start from and the checks its
// render and editor tests end with; each answers the exit code.

/** generate SIGNAL --out FILE [--frames N | --seconds S] [--rate HZ]. */
int runGenerate(Arguments& arguments);

/** compare A.wav B.wav: the same samples, bit for bit. */
int runCompare(Arguments& arguments);
/** compare-images A.png B.png [--tolerance N] [--text-area X,Y,W,H ...] [--text-tolerance N]. */
int runCompareImages(Arguments& arguments);
