#include "tests/hosts/common/Subcommands.h"

#include "tests/hosts/common/EditorWindow.h"
#include "tests/hosts/common/ExitCodes.h"

#include <X11/Xlib.h>

#include <cstdio>
#include <string_view>

int runSubcommands(int argc, char** argv, const char* usage,
                   const std::map<std::string, Subcommand>& commands)
{
    // The plug-in's toolkit and the host's window use Xlib from different threads.
    XInitThreads();
    // --default-x-error-handler keeps Xlib's handler, which ends the process on any X error: a
    // strict host, to prove the plug-in makes no failing X request.
    int first = 1;
    if (argc > first && std::string_view(argv[first]) == "--default-x-error-handler")
        ++first;
    else
        EditorWindow::installLenientErrorHandler();

    if (argc <= first || commands.count(argv[first]) == 0)
    {
        std::fputs(usage, stderr);
        return exitCode::unusable;
    }

    const std::string command = argv[first];
    Arguments arguments(std::vector<std::string>(argv + first + 1, argv + argc));
    try
    {
        return commands.at(command)(arguments);
    }
    catch (const UsageError& error)
    {
        std::fprintf(stderr, "%s: %s\n\n%s", command.c_str(), error.what(), usage);
    }
    catch (const LoadError& error)
    {
        std::fprintf(stderr, "%s: %s\n", command.c_str(), error.what());
        return exitCode::failed;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "%s: %s\n", command.c_str(), error.what());
    }
    return exitCode::unusable;
}
