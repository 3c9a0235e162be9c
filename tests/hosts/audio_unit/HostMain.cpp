// A minimal Audio Unit host for tests and the main job: loads the bundle with dlopen and talks to
// it only through the factory's plug-in block and the Component Manager entry, with the platform
// frameworks stand-in beside it (or without it).
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/common/Subcommands.h"

namespace
{
constexpr const char* kUsage = R"(usage: veridane_au_host COMMAND ...

  Commands that open a unit take [--road plug-in|component-manager] (default plug-in) and
  [--no-platform] (plug-in road only: the host calls the factory itself).

  info PLUGIN
  generate SIGNAL --out FILE [--frames N | --seconds S] [--rate HZ]
  render PLUGIN (--input FILE | --signal NAME [--frames N | --seconds S] [--rate HZ]) --out FILE
         [--input-from callback|connection] [--buffers host|null|in-place|external]
         [--parameters selector|fast|schedule] [--blocks LIST] [--bypass] [--gain VALUE]
         [--direction INDEX] [--change FRAME:gain=VALUE] [--change FRAME:direction=INDEX]
      blocks of the listed lengths, used in turn (default 512); gain and direction by a
      class-info restore, changes at the first block starting at or after FRAME
  compare A.wav B.wav
  state PLUGIN --save-road ROAD --restore-road ROAD [--gain VALUE] [--direction INDEX]
  midi PLUGIN
  cycle N PLUGIN [--reload] [--blocks LIST]

exit codes: 0 success; 1 the unit misbehaved or a comparison failed; 2 a bad command line
)";
} // namespace

int main(int argc, char** argv)
{
    return runSubcommands(argc, argv, kUsage,
                          {
                              {"info", runInfo},
                              {"generate", runGenerate},
                              {"render", runRender},
                              {"compare", runCompare},
                              {"state", runState},
                              {"midi", runMidi},
                              {"cycle", runCycle},
                          });
}
