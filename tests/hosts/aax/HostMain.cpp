// A minimal AAX host for tests and the main job: loads a bundle with dlopen and talks to it only
// through its exports and the host component model of the fake host.
#include "tests/hosts/aax/Commands.h"
#include "tests/hosts/common/Subcommands.h"

#include <cstdio>

namespace
{
constexpr const char* kUsage = R"(usage: veridane_aax_host COMMAND ...

  info BUNDLE
      the registration call by call; the first coefficients, parameters, chunks and state of a
      new instance
  generate SIGNAL --out FILE [--frames N | --seconds S] [--rate HZ]
      writes a generated 4-channel signal (noise, circling) as a 32-bit float WAV
  render BUNDLE (--input FILE | --signal NAME [--frames N | --seconds S] [--rate HZ]) --out FILE
         [--blocks LIST] [--buffers separate|in-place|crossed] [--bypass]
         [--gain VALUE] [--direction INDEX] [--change FRAME:gain=VALUE]
         [--change FRAME:direction=INDEX] [--verbose]
      processes a 4-channel signal in blocks of the listed lengths (used in turn, default 512);
      gain and direction are set through the 'juce' chunk, bypass through the master bypass
      parameter; changes apply at the first block that starts at or after FRAME (gain through
      the host's automation, direction through the 'juce' chunk)
  compare A.wav B.wav
      succeeds when both hold the same samples, bit for bit
  compare-images A.png B.png [--tolerance N] [--text-area X,Y,W,H ...] [--text-tolerance N]
      succeeds when both have one size and every colour channel differs by at most the tolerance
  chunk BUNDLE --gain VALUE --direction INDEX [--other-gain VALUE] [--automation queued|synchronous]
      sets gain and direction, saves every chunk, restores them into a fresh instance and
      compares the parameter chunk with it, before and after the other gain
  cycle N BUNDLE [--reload]
      opens, processes, saves and closes an instance and its window object N times (--reload:
      reloads the bundle each time)
  editor BUNDLE --out FILE.png [--gain VALUE] [--direction INDEX] [--settle-ms N] [--click X,Y ...]
      opens the editor in an X11 window as the view container, optionally clicks, saves a
      screenshot

exit codes: 0 success; 1 the bundle was refused or misbehaved, or a comparison failed;
            2 a bad command line or an unreadable file
)";
} // namespace

void checkReleased(int32_t liveObjects, const fakeaax::FakeHost& host,
                   std::vector<std::string>& problems)
{
    if (liveObjects != 0)
        problems.push_back("ACFCanUnloadNow answered " + std::to_string(liveObjects));
    for (const auto& held : host.unbalanced())
        problems.push_back("the bundle still holds " + held);
}

int report(const std::vector<std::string>& problems)
{
    for (const auto& problem : problems)
        std::printf("PROBLEM: %s\n", problem.c_str());
    return problems.empty() ? exitCode::ok : exitCode::failed;
}

int main(int argc, char** argv)
{
    return runSubcommands(argc, argv, kUsage,
                          {
                              {"info", runInfo},
                              {"generate", runGenerate},
                              {"render", runRender},
                              {"compare", runCompare},
                              {"compare-images", runCompareImages},
                              {"chunk", runChunk},
                              {"cycle", runCycle},
                              {"editor", runEditor},
                          });
}
