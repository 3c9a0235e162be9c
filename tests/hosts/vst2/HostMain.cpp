// A minimal VST 2 host for tests and the main job: loads a plug-in library with dlopen and talks
// to it only through the effect record and the host callback.
#include "tests/hosts/common/HostMain.h"
#include "tests/hosts/common/EditorWindow.h"
#include "tests/hosts/vst2/Commands.h"
#include "tests/hosts/vst2/PluginLibrary.h"

#include <X11/Xlib.h>

namespace
{
constexpr const char* kUsage = R"(usage: veridane_vst2_host COMMAND ...

  info PLUGIN
      the effect record, names, category, can-do answers, parameter and editor size
  generate SIGNAL --out FILE [--frames N | --seconds S] [--rate HZ]
      writes a generated 4-channel signal (noise, circling) as a 32-bit float WAV
  render PLUGIN (--input FILE | --signal NAME [--frames N | --seconds S] [--rate HZ]) --out FILE
         [--blocks LIST] [--buffers separate|in-place|crossed] [--bypass]
         [--gain VALUE] [--direction INDEX] [--change FRAME:gain=VALUE]
         [--change FRAME:direction=INDEX] [--verbose]
      processes a 4-channel signal in blocks of the listed lengths (used in turn, default 512);
      gain and direction are set through the chunk, changes apply at the first block that starts
      at or after FRAME (gain through setParameter, direction through the chunk)
  compare A.wav B.wav
      succeeds when both hold the same samples, bit for bit
  compare-images A.png B.png [--tolerance N] [--text-area X,Y,W,H ...] [--text-tolerance N]
      succeeds when both have one size and every colour channel differs by at most the tolerance
      (inside text areas by at most the text tolerance)
  chunk get PLUGIN [--out FILE]
  chunk set PLUGIN (--file FILE | [--gain VALUE] [--direction INDEX])
      sets a chunk on a fresh instance, then reads it back
  cycle N PLUGIN [--reload] [--editor] [--blocks LIST]
      opens, processes and closes an instance N times (--reload: reloads the library each time;
      --editor: also opens and closes the editor when a display is there)
  editor PLUGIN --out FILE.png [--gain VALUE] [--direction INDEX] [--settle-ms N] [--click X,Y ...]
      opens the editor in an X11 window, pumps effEditIdle, optionally clicks, saves a screenshot

exit codes: 0 success; 1 the plug-in was refused or misbehaved, or a comparison failed;
            2 a bad command line or an unreadable file
)";
} // namespace

int main(int argc, char** argv)
{
    // The plug-in's toolkit and the host's window use Xlib from different threads.
    XInitThreads();
    EditorWindow::installLenientErrorHandler();

    const HostCommands commands{
        {"info", runInfo},
        {"generate", runGenerate},
        {"render", runRender},
        {"compare", runCompare},
        {"compare-images", runCompareImages},
        {"chunk", runChunk},
        {"cycle", runCycle},
        {"editor", runEditor},
    };

    return runHostCommand(argc, argv, commands, kUsage);
}
