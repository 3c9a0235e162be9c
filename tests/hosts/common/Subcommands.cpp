#include "tests/hosts/common/Subcommands.h"

#include "tests/hosts/common/EditorWindow.h"
#include "tests/hosts/common/ExitCodes.h"

#include <X11/Xlib.h>

#include <cstdio>

int runSubcommands(int argc, char** argv, const char* usage,
                   const std::map<std::string, Subcommand>& commands)
{
    // The plug-in's toolkit and the host's window use Xlib from different threads.
    XInitThreads();
    EditorWindow::installLenientErrorHandler();

    if (argc < 2 || commands.count(argv[1]) == 0)
    {
        std::fputs(usage, stderr);
        return exitCode::unusable;
    }

    Arguments arguments(std::vector<std::string>(argv + 2, argv + argc));
    try
    {
        return commands.at(argv[1])(arguments);
    }
    catch (const UsageError& error)
    {
        std::fprintf(stderr, "%s: %s\n\n%s", argv[1], error.what(), usage);
    }
    catch (const LoadError& error)
    {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
        return exitCode::failed;
    }
    catch (const std::exception& error)
    {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.what());
    }
    return exitCode::unusable;
}
