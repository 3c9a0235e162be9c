#pragma once

/** Exit codes shared by the test hosts' subcommands. */
namespace exitCode
{
constexpr int ok = 0;
/** The plug-in misbehaved, or a comparison found a difference. */
constexpr int failed = 1;
/** A bad command line, or a library or file that cannot be used. */
constexpr int unusable = 2;
} // namespace exitCode
