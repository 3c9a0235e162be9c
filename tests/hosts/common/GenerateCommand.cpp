// generate: writes one of the test signals, so a render and its reference read the same file.
#include "tests/hosts/common/CompareCommands.h"
#include "tests/hosts/common/ExitCodes.h"
#include "tests/hosts/common/SignalSource.h"
#include "tests/hosts/common/TestSignals.h"

#include <cstdio>

int runGenerate(Arguments& arguments)
{
    const auto out = arguments.option("--out");
    if (!out)
        throw UsageError("--out FILE is required");
    const SignalLength length = takeSignalLength(arguments);
    const auto rest = arguments.positionals(1, "the signal name");
    const MultichannelAudio audio = generateSignal(rest[0], length.frames, length.sampleRate);
    writeWav(*out, audio);

    std::printf("wrote %s: %s, %lld frames at %g Hz, %zu channels\n", out->c_str(), rest[0].c_str(),
                (long long)audio.frames(), audio.sampleRate, audio.channels.size());
    const auto peaks = audio.peaks();
    for (size_t c = 0; c < peaks.size(); ++c)
        std::printf("  channel %zu peak %s\n", c + 1, decibelText(peaks[c]).c_str());
    return exitCode::ok;
}
