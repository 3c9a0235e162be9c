#include "tests/hosts/common/HostMain.h"

#include "tests/hosts/common/ExitCodes.h"

#include <cstdio>

int runHostCommand(int argc, char** argv, const HostCommands& commands, const char* usage)
{
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
