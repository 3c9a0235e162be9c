// info: open, read what a host shows and checks before it renders (channel pairs, parameters,
// presets, fast functions, the formats it may set and when), read the saved state, close.
#include "tests/hosts/audio_unit/ClassInfo.h"
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/common/StateChunk.h"

#include <cstdio>
#include <string>

namespace
{
void line(const char* key, const std::string& value)
{
    std::printf("%-22s %s\n", key, value.c_str());
}

std::string answered(OSStatus status)
{
    return "answered " + std::to_string(status);
}

std::string textOf(CFStringRef string)
{
    char text[128] = "<none>";
    if (string != nullptr)
        CFStringGetCString(string, text, sizeof text, kCFStringEncodingUTF8);
    return text;
}

/** The global-scope property's value, or what the unit answered. */
template <typename T> std::string property(HostedUnit& unit, AudioUnitPropertyID id, T& value)
{
    const OSStatus status = unit.get(id, kAudioUnitScope_Global, 0, value);
    return status != noErr ? answered(status) : std::to_string(value);
}
} // namespace

int runInfo(Arguments& arguments)
{
    const UnitOptions options = UnitOptions::take(arguments);
    const auto words = arguments.positionals(1, "the plug-in path");
    BundleLibrary bundle(words[0]);
    HostedUnit unit(bundle, options);
    line("opened on", options.roadName());

    // The Component Manager's own selectors: on the plug-in road they are absent, not values.
    const std::string absent = "none on this road";
    char number[96];
    const OSStatus version = unit.call(kComponentVersionSelect);
    std::snprintf(number, sizeof number, "0x%X", unsigned(version));
    line("version", version == badComponentSelector ? absent : number);
    std::string canDo;
    for (SInt16 selector = 1; selector <= 0x102; selector = selector == 19 ? 0x101 : selector + 1)
    {
        const OSStatus answer = unit.call(kComponentCanDoSelect, UInt32(selector));
        if (answer == badComponentSelector)
        {
            canDo = absent;
            break;
        }
        if (answer == 1)
            canDo += std::to_string(selector) + " ";
    }
    line("can do", canDo);

    AUChannelInfo pair{};
    UInt32 ids = 0;
    Float64 seconds = -1.0;
    const OSStatus paired =
        unit.get(kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, pair);
    line("channel pair", paired != noErr ? answered(paired)
                                         : std::to_string(pair.inChannels) + " in, " +
                                               std::to_string(pair.outChannels) + " out");
    line("latency", property(unit, kAudioUnitProperty_Latency, seconds));
    line("tail time", property(unit, kAudioUnitProperty_TailTime, seconds));
    line("first parameter id", property(unit, kAudioUnitProperty_ParameterList, ids));

    AudioUnitParameterInfo info{};
    const OSStatus described =
        unit.get(kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, ids, info);
    std::snprintf(number, sizeof number, " min %g max %g default %g%s%s", double(info.minValue),
                  double(info.maxValue), double(info.defaultValue),
                  (info.flags & kAudioUnitParameterFlag_IsReadable) != 0 ? " readable" : "",
                  (info.flags & kAudioUnitParameterFlag_IsWritable) != 0 ? " writable" : "");
    line("parameter 0", described != noErr ? answered(described)
                                           : "\"" + textOf(info.cfNameString) + "\"" + number);
    if ((info.flags & kAudioUnitParameterFlag_CFNameRelease) != 0)
        CFRelease(info.cfNameString);

    CFArrayRef presets = nullptr;
    std::string names =
        answered(unit.get(kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, presets));
    for (CFIndex i = 0; presets != nullptr && i < CFArrayGetCount(presets); ++i)
    {
        const auto* preset = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, i));
        names +=
            ": " + std::to_string(preset->presetNumber) + " \"" + textOf(preset->presetName) + "\"";
    }
    CFRelease(presets);
    line("factory presets", names);

    std::string fast;
    for (AudioUnitElement selector : {6, 7, 14, 0x101})
    {
        void* function = nullptr;
        fast += answered(unit.fastFunction(selector, function)) + " ";
    }
    line("fast functions", fast);

    // The default formats are stereo: the unit must refuse them, and take 4 channels until it is
    // initialised.
    line("initialize stereo", answered(unit.initialize()));
    line("4-channel formats", answered(configureFourChannels(unit, 48000.0, 512)));
    line("initialize", answered(unit.initialize()));
    line("format initialised",
         answered(unit.set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0,
                           floatFormat(44100.0, 4))));

    OSStatus status = noErr;
    const ClassInfo saved = ClassInfo::save(unit, status);
    line("class info", answered(status));
    std::snprintf(number, sizeof number, "%08X %08X %08X",
                  unsigned(saved.number("type").value_or(0)),
                  unsigned(saved.number("subtype").value_or(0)),
                  unsigned(saved.number("manufacturer").value_or(0)));
    line("  component", number);
    line("  data", wordsInHex(saved.bytes("data")));
    const auto block = saved.bytes("jucePluginState");
    line("  jucePluginState", stateBlockText(block).value_or("<none>") + " (" +
                                  std::to_string(block.size()) + " bytes)");
    line("close", answered(unit.close()));
    return exitCode::ok;
}
