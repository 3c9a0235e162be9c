#include "tests/hosts/common/RenderSettings.h"

#include "tests/hosts/common/SignalSource.h"

#include <algorithm>
#include <cstdio>

namespace
{
/** "FRAME:gain=VALUE" or "FRAME:direction=INDEX". */
ScheduledChange parseChange(const std::string& text)
{
    const auto colon = text.find(':');
    const auto equals = text.find('=', colon == std::string::npos ? 0 : colon);
    if (colon == std::string::npos || equals == std::string::npos)
        throw UsageError("--change wants FRAME:gain=VALUE or FRAME:direction=INDEX");
    ScheduledChange change;
    change.frame = parseInteger(text.substr(0, colon), "--change frame");
    const std::string what = text.substr(colon + 1, equals - colon - 1);
    change.value = text.substr(equals + 1);
    if (what != "gain" && what != "direction")
        throw UsageError("--change can set gain or direction, not '" + what + "'");
    change.isGain = what == "gain";
    if (change.isGain)
        parseNumber(change.value, "--change gain");
    else
        parseInteger(change.value, "--change direction");
    return change;
}

void printSide(const char* side, const char* names, const MultichannelAudio& audio)
{
    std::printf("peaks %-3s (%s):", side, names);
    for (float peak : audio.peaks())
        std::printf("  %s", decibelText(peak).c_str());
    std::printf("\n");
}
} // namespace

RenderSettings RenderSettings::take(Arguments& arguments)
{
    RenderSettings settings;
    settings.gain = arguments.option("--gain");
    settings.direction = arguments.option("--direction");
    if (settings.gain)
        parseNumber(*settings.gain, "--gain");
    if (settings.direction)
        parseInteger(*settings.direction, "--direction");
    for (const auto& text : arguments.options("--change"))
        settings.changes.push_back(parseChange(text));
    std::stable_sort(settings.changes.begin(), settings.changes.end(),
                     [](const auto& a, const auto& b) { return a.frame < b.frame; });
    settings.bypass = arguments.flag("--bypass");
    return settings;
}

bool RenderSettings::directionChanges() const
{
    return std::any_of(changes.begin(), changes.end(),
                       [](const auto& change) { return !change.isGain; });
}

void RenderSettings::printPeaks(const MultichannelAudio& input,
                                const MultichannelAudio& output) const
{
    const char* fuma = "FuMa W X Y Z";
    const char* ambix = "ambiX W Y Z X";
    const char* unnamed = "1 2 3 4";
    const bool toFuma = parseInteger(direction.value_or("0"), "--direction") == 1;
    const char* in = directionChanges() ? unnamed : toFuma ? ambix : fuma;
    const char* out = directionChanges() ? unnamed : (toFuma != bypass) ? fuma : ambix;
    printSide("in", in, input);
    printSide("out", out, output);
}
