#pragma once

#include "tests/hosts/aax/HostedInstance.h"
#include "tests/hosts/common/Arguments.h"
#include "tests/hosts/common/CompareCommands.h"
#include "tests/hosts/common/ExitCodes.h"

#include <string>
#include <vector>

// One function per subcommand; each answers the process exit code.

int runInfo(Arguments& arguments);
int runRender(Arguments& arguments);
int runChunk(Arguments& arguments);
int runCycle(Arguments& arguments);
int runEditor(Arguments& arguments);

/** What a host checks once everything is released: the bundle's live objects (its answer to
    ACFCanUnloadNow) and the references it still holds on the host's objects. */
void checkReleased(int32_t liveObjects, const fakeaax::FakeHost& host,
                   std::vector<std::string>& problems);

/** Prints each problem; answers the exit code they give. */
int report(const std::vector<std::string>& problems);
