#pragma once

#include "tests/hosts/common/Arguments.h"
#include "tests/hosts/common/CompareCommands.h"
#include "tests/hosts/common/ExitCodes.h"

// One function per subcommand; each answers the process exit code.

int runInfo(Arguments& arguments);
int runRender(Arguments& arguments);
int runState(Arguments& arguments);
int runMidi(Arguments& arguments);
int runCycle(Arguments& arguments);
