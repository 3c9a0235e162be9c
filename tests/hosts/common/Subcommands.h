#pragma once

#include "tests/hosts/common/Arguments.h"

#include <functional>
#include <map>
#include <string>

using Subcommand = std::function<int(Arguments&)>;

/** A test host's main: prepares Xlib for the plug-in's and the host's threads (with the lenient
    error handler unless the first word is --default-x-error-handler), runs the subcommand named by the first word with the rest, and turns what it
    throws into a message and an exit code: a bad command line prints the usage text. */
int runSubcommands(int argc, char** argv, const char* usage,
                   const std::map<std::string, Subcommand>& commands);
