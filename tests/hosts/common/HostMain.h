#pragma once

#include "tests/hosts/common/Arguments.h"

#include <functional>
#include <map>
#include <stdexcept>
#include <string>

/** Thrown when a plug-in library or what it answers cannot be used; the message says why. */
struct LoadError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};

using HostCommands = std::map<std::string, std::function<int(Arguments&)>>;

/** A test host's main: runs the subcommand named by the first argument with the rest, and turns
    what it throws into a message and an exit code (a bad command line also prints the usage). */
int runHostCommand(int argc, char** argv, const HostCommands& commands, const char* usage);
