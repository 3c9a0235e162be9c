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

/** The value when the call succeeded, else what it answered. */
std::string shown(OSStatus status, const std::string& value)
{
    return status == noErr ? value : answered(status);
}

std::string textOf(CFStringRef string)
{
    char text[128] = "<none>";
    if (string != nullptr)
        CFStringGetCString(string, text, sizeof text, kCFStringEncodingUTF8);
    return text;
}

void showParameter(HostedUnit& unit)
{
    AudioUnitParameterID ids[4] = {};
    UInt32 size = sizeof ids;
    const OSStatus listed =
        unit.call(kAudioUnitGetPropertySelect, kAudioUnitProperty_ParameterList,
                  UInt32(kAudioUnitScope_Global), UInt32(0), static_cast<void*>(ids), &size);
    line("parameter ids", shown(listed, std::to_string(size / sizeof ids[0])));

    AudioUnitParameterInfo info{};
    const OSStatus described =
        unit.get(kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, ids[0], info);
    char text[160];
    std::snprintf(text, sizeof text, "\"%s\" min %g max %g default %g%s%s",
                  textOf(info.cfNameString).c_str(), double(info.minValue), double(info.maxValue),
                  double(info.defaultValue),
                  (info.flags & kAudioUnitParameterFlag_IsReadable) != 0 ? " readable" : "",
                  (info.flags & kAudioUnitParameterFlag_IsWritable) != 0 ? " writable" : "");
    line("parameter 0", shown(described, text));
    if ((info.flags & kAudioUnitParameterFlag_CFNameRelease) != 0)
        CFRelease(info.cfNameString);
}

void showPresets(HostedUnit& unit)
{
    CFArrayRef presets = nullptr;
    const OSStatus listed =
        unit.get(kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, presets);
    std::string names;
    for (CFIndex i = 0; listed == noErr && i < CFArrayGetCount(presets); ++i)
    {
        const auto* preset = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, i));
        names += std::to_string(preset->presetNumber) + " \"" + textOf(preset->presetName) + "\"";
    }
    CFRelease(presets);
    line("factory presets", shown(listed, names));
}

void showSavedState(HostedUnit& unit)
{
    OSStatus status = noErr;
    const ClassInfo saved = ClassInfo::save(unit, status);
    line("class info", answered(status));
    if (!saved.valid())
        return;
    char description[64];
    std::snprintf(description, sizeof description, "%08X %08X %08X",
                  unsigned(saved.number("type").value_or(0)),
                  unsigned(saved.number("subtype").value_or(0)),
                  unsigned(saved.number("manufacturer").value_or(0)));
    line("  component", description);
    line("  data", wordsInHex(saved.bytes("data")));
    const auto block = saved.bytes("jucePluginState");
    line("  jucePluginState", stateBlockText(block).value_or("<none>") + " (" +
                                  std::to_string(block.size()) + " bytes)");
}
} // namespace

int runInfo(Arguments& arguments)
{
    const UnitOptions options = UnitOptions::take(arguments);
    const auto words = arguments.positionals(1, "the plug-in path");
    BundleLibrary bundle(words[0]);
    HostedUnit unit(bundle, options);
    line("opened on", options.roadName());

    char version[16];
    std::snprintf(version, sizeof version, "0x%X", unsigned(unit.call(kComponentVersionSelect)));
    line("version", version);
    std::string canDo;
    for (SInt16 selector :
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0x101, 0x102})
        if (unit.call(kComponentCanDoSelect, UInt32(UInt16(selector))) == 1)
            canDo += std::to_string(selector) + " ";
    line("can do", canDo);

    AUChannelInfo pair{};
    OSStatus status =
        unit.get(kAudioUnitProperty_SupportedNumChannels, kAudioUnitScope_Global, 0, pair);
    line("channel pair", shown(status, std::to_string(pair.inChannels) + " in, " +
                                           std::to_string(pair.outChannels) + " out"));
    Float64 seconds = -1.0;
    status = unit.get(kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0, seconds);
    line("latency", shown(status, std::to_string(seconds)));
    status = unit.get(kAudioUnitProperty_TailTime, kAudioUnitScope_Global, 0, seconds);
    line("tail time", shown(status, std::to_string(seconds)));
    showParameter(unit);
    showPresets(unit);
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
    showSavedState(unit);
    line("close", answered(unit.close()));
    return exitCode::ok;
}
