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

#include <stdexcept>

/** Thrown when a plug-in library, or what it answers, cannot be used; the message says why and
    the subcommand exits with exitCode::failed. */
struct LoadError : std::runtime_error
{
    using std::runtime_error::runtime_error;
};
