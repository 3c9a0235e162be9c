#include "tests/hosts/common/SignalSource.h"

#include "tests/hosts/common/TestSignals.h"

#include <cmath>
#include <cstdio>

namespace
{
constexpr double kDefaultRate = 48000.0;
constexpr double kDefaultSeconds = 1.0;
/** Ten minutes at 192 kHz: enough for any test, small enough to stay in memory. */
constexpr double kMaxFrames = 600.0 * 192000.0;
} // namespace

SignalLength takeSignalLength(Arguments& arguments)
{
    const auto rateText = arguments.option("--rate");
    const double rate = rateText ? parseNumber(*rateText, "--rate") : kDefaultRate;
    if (rate < 1.0 || rate > 1.0e6)
        throw UsageError("--rate must lie between 1 and 1000000");

    const auto framesText = arguments.option("--frames");
    const auto secondsText = arguments.option("--seconds");
    if (framesText && secondsText)
        throw UsageError("give --frames or --seconds, not both");
    const double frames = framesText    ? double(parseInteger(*framesText, "--frames"))
                          : secondsText ? std::round(parseNumber(*secondsText, "--seconds") * rate)
                                        : std::round(kDefaultSeconds * rate);
    if (frames < 0.0 || frames > kMaxFrames)
        throw UsageError("the signal length must lie between 0 and 115200000 frames");
    return {int64_t(frames), rate};
}

MultichannelAudio takeSignal(Arguments& arguments, std::string& description)
{
    const auto inputPath = arguments.option("--input");
    const auto signalName = arguments.option("--signal");
    if (inputPath.has_value() == signalName.has_value())
        throw UsageError("give either --input FILE or --signal NAME");
    if (inputPath)
    {
        // Length options left behind are refused as unknown by the caller's positional check.
        description = *inputPath;
        return readWav(*inputPath);
    }
    const SignalLength length = takeSignalLength(arguments);
    description = "generated " + *signalName;
    return generateSignal(*signalName, length.frames, length.sampleRate);
}

std::string decibelText(float peak)
{
    if (!(peak > 0.0f))
        return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.2f dBFS", 20.0 * std::log10(double(peak)));
    return text;
}
