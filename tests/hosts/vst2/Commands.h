#pragma once

#include "tests/hosts/common/Arguments.h"
#include "tests/hosts/common/CompareCommands.h"
#include "tests/hosts/common/ExitCodes.h"

// One function per subcommand; each answers the process exit code.

int runInfo(Arguments& arguments);
int runRender(Arguments& arguments);
int runChunk(Arguments& arguments);
int runCycle(Arguments& arguments);
int runEditor(Arguments& arguments);
