#pragma once

#include "tests/hosts/vst2/Arguments.h"

// One function per subcommand; each answers the process exit code.

/** Exit codes shared by the subcommands. */
namespace exitCode
{
constexpr int ok = 0;
/** The plug-in misbehaved, or a comparison found a difference. */
constexpr int failed = 1;
/** A bad command line, or a library or file that cannot be used. */
constexpr int unusable = 2;
} // namespace exitCode

int runInfo(Arguments& arguments);
int runGenerate(Arguments& arguments);
int runRender(Arguments& arguments);
int runCompare(Arguments& arguments);
int runCompareImages(Arguments& arguments);
int runChunk(Arguments& arguments);
int runCycle(Arguments& arguments);
int runEditor(Arguments& arguments);
