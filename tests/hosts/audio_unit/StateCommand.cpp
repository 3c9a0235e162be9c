// state: set gain and direction on one road, save the class info, restore it on a fresh unit
// opened on the other road, and read back what the processor holds.
#include "tests/hosts/audio_unit/ClassInfo.h"
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/common/StateChunk.h"

#include <cstdio>

namespace
{
/** Prints a call's answer; answers whether it succeeded. */
bool report(const char* what, OSStatus status)
{
    std::printf("%s answered %d\n", what, int(status));
    return status == noErr;
}

void printState(const char* when, const ClassInfo& saved)
{
    const auto block = saved.bytes("jucePluginState");
    std::printf("%s data: %s\n", when, wordsInHex(saved.bytes("data")).c_str());
    std::printf("%s state: %s\n", when, stateBlockText(block).value_or("<none>").c_str());
    std::printf("%s state bytes: %s\n", when, wordsInHex(block).c_str());
}
} // namespace

int runState(Arguments& arguments)
{
    UnitOptions saving, restoring;
    saving.componentManager = UnitOptions::parseRoad(arguments.option("--save-road").value_or(""));
    restoring.componentManager =
        UnitOptions::parseRoad(arguments.option("--restore-road").value_or(""));
    const auto gain = arguments.option("--gain");
    const auto direction = arguments.option("--direction");
    const auto words = arguments.positionals(1, "the plug-in path");
    BundleLibrary bundle(words[0]);

    OSStatus status = noErr;
    bool ok = true;
    HostedUnit first(bundle, saving);
    std::printf("saving on the %s road\n", saving.roadName());
    if (gain)
        ok &= report("set gain", first.setParameter(0, float(parseNumber(*gain, "--gain"))));
    if (direction)
        ok &= report("set direction", restoreSettings(first, std::nullopt, direction));
    const ClassInfo saved = ClassInfo::save(first, status);
    ok &= report("save", status) && report("close", first.close());
    if (!saved.valid())
        return exitCode::failed;
    printState("saved", saved);

    HostedUnit second(bundle, restoring);
    std::printf("restoring on the %s road\n", restoring.roadName());
    ok &= report("restore", saved.restoreOn(second));
    Float32 value = -1.0f;
    ok &= report("get gain", second.getParameter(0, value));
    std::printf("restored gain %g\n", double(value));
    const ClassInfo again = ClassInfo::save(second, status);
    if (report("save again", status))
        printState("restored", again);
    return ok && report("close", second.close()) ? exitCode::ok : exitCode::failed;
}
