// state: set gain and direction on one road, save the class info, restore it on a fresh unit
// opened on the other road, and read back what the processor holds.
#include "tests/hosts/audio_unit/ClassInfo.h"
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/common/StateChunk.h"

#include <cstdio>

namespace
{
void printState(const char* when, const ClassInfo& saved)
{
    const auto block = saved.bytes("jucePluginState").value_or(std::vector<uint8_t>{});
    std::printf("%s data: %s\n", when,
                wordsInHex(saved.bytes("data").value_or(std::vector<uint8_t>{})).c_str());
    std::printf("%s state: %s\n", when, stateBlockText(block).value_or("<none>").c_str());
    std::printf("%s state bytes: %s\n", when, wordsInHex(block).c_str());
}
} // namespace

int runState(Arguments& arguments)
{
    const Road saveRoad = parseRoad(arguments.option("--save-road").value_or("plug-in"));
    const Road restoreRoad = parseRoad(arguments.option("--restore-road").value_or("plug-in"));
    const auto gain = arguments.option("--gain");
    const auto direction = arguments.option("--direction");
    if (gain)
        parseNumber(*gain, "--gain");
    const auto words = arguments.positionals(1, "the plug-in path");
    BundleLibrary bundle(words[0]);

    OSStatus status = noErr;
    std::vector<std::string> problems;
    const auto check = [&](const char* what, OSStatus answer)
    {
        std::printf("%s answered %d\n", what, int(answer));
        if (answer != noErr)
            problems.push_back(what);
    };

    std::optional<ClassInfo> saved;
    {
        auto unit = HostedUnit::open(bundle, saveRoad, true);
        std::printf("saving on the %s road\n", roadName(saveRoad));
        if (gain)
            check("set gain", unit->setParameter(0, kAudioUnitScope_Global, 0,
                                                 float(parseNumber(*gain, "--gain")), 0));
        if (direction)
            check("set direction", restoreSettings(*unit, std::nullopt, direction));
        saved.emplace(ClassInfo::save(*unit, status));
        check("save", status);
        check("close", unit->close());
    }
    if (!saved->valid())
        return exitCode::failed;
    printState("saved", *saved);

    auto unit = HostedUnit::open(bundle, restoreRoad, true);
    std::printf("restoring on the %s road\n", roadName(restoreRoad));
    check("restore", saved->restoreOn(*unit));
    Float32 value = -1.0f;
    check("get gain", unit->getParameter(0, kAudioUnitScope_Global, 0, &value));
    std::printf("restored gain %g\n", double(value));
    const ClassInfo again = ClassInfo::save(*unit, status);
    check("save again", status);
    if (again.valid())
        printState("restored", again);
    check("close", unit->close());
    return problems.empty() ? exitCode::ok : exitCode::failed;
}
