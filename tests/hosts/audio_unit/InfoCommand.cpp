// info: open, read what a host shows and checks before it renders (channel pairs, parameters,
// presets, the formats it may set and when), read the saved state, close.
#include "tests/hosts/audio_unit/ClassInfo.h"
#include "tests/hosts/audio_unit/Commands.h"
#include "tests/hosts/common/StateChunk.h"

#include <cstdio>
#include <string>
#include <vector>

namespace
{
void line(const char* key, const std::string& value)
{
    std::printf("%-28s %s\n", key, value.c_str());
}

std::string joined(const std::vector<std::string>& words, const char* separator = " ")
{
    std::string text;
    for (const auto& word : words)
        text += (text.empty() ? "" : separator) + word;
    return text;
}

std::string status(OSStatus answer)
{
    return "answered " + std::to_string(answer);
}

template <typename T> std::string valueOr(OSStatus answer, const T& value)
{
    return answer == noErr ? std::to_string(value) : status(answer);
}

std::string textOf(CFStringRef string)
{
    char text[128] = {};
    if (string == nullptr || !CFStringGetCString(string, text, sizeof text, kCFStringEncodingUTF8))
        return "<none>";
    return std::string("\"") + text + "\"";
}

void showChannelsAndTimes(HostedUnit& unit)
{
    AUChannelInfo pairs[4] = {};
    UInt32 size = sizeof pairs;
    const OSStatus answer = unit.getProperty(kAudioUnitProperty_SupportedNumChannels,
                                             kAudioUnitScope_Global, 0, pairs, &size);
    std::vector<std::string> texts;
    for (UInt32 i = 0; answer == noErr && i < size / sizeof(AUChannelInfo); ++i)
        texts.push_back("{" + std::to_string(pairs[i].inChannels) + ", " +
                        std::to_string(pairs[i].outChannels) + "}");
    line("channel pairs", answer != noErr ? status(answer) : joined(texts));

    for (auto [scope, name] : {std::pair{kAudioUnitScope_Input, "input buses"},
                               std::pair{kAudioUnitScope_Output, "output buses"}})
    {
        UInt32 count = 0;
        line(name, valueOr(unit.get(kAudioUnitProperty_ElementCount, scope, 0, count), count));
    }
    Float64 seconds = -1.0;
    line(
        "latency",
        valueOr(unit.get(kAudioUnitProperty_Latency, kAudioUnitScope_Global, 0, seconds), seconds));
    line("tail time",
         valueOr(unit.get(kAudioUnitProperty_TailTime, kAudioUnitScope_Global, 0, seconds),
                 seconds));
}

void showParameters(HostedUnit& unit)
{
    AudioUnitParameterID ids[8] = {};
    UInt32 size = sizeof ids;
    const OSStatus listed =
        unit.getProperty(kAudioUnitProperty_ParameterList, kAudioUnitScope_Global, 0, ids, &size);
    line("parameter list",
         listed != noErr ? status(listed) : std::to_string(size / sizeof ids[0]) + " id(s)");
    for (UInt32 i = 0; listed == noErr && i < size / sizeof ids[0]; ++i)
    {
        AudioUnitParameterInfo info{};
        const OSStatus described =
            unit.get(kAudioUnitProperty_ParameterInfo, kAudioUnitScope_Global, ids[i], info);
        char text[256];
        std::snprintf(text, sizeof text, "%s %s min %g max %g default %g%s%s%s",
                      status(described).c_str(), textOf(info.cfNameString).c_str(),
                      double(info.minValue), double(info.maxValue), double(info.defaultValue),
                      (info.flags & kAudioUnitParameterFlag_IsReadable) != 0 ? " readable" : "",
                      (info.flags & kAudioUnitParameterFlag_IsWritable) != 0 ? " writable" : "",
                      (info.flags & kAudioUnitParameterFlag_CFNameRelease) != 0 ? " name-owned"
                                                                                : "");
        line(("parameter " + std::to_string(ids[i])).c_str(), text);
        if ((info.flags & kAudioUnitParameterFlag_CFNameRelease) != 0)
            CFRelease(info.cfNameString);
        Float32 value = -1.0f;
        line("  value",
             valueOr(unit.getParameter(ids[i], kAudioUnitScope_Global, 0, &value), value));
    }
}

void showPresets(HostedUnit& unit)
{
    CFArrayRef presets = nullptr;
    const OSStatus answer =
        unit.get(kAudioUnitProperty_FactoryPresets, kAudioUnitScope_Global, 0, presets);
    std::vector<std::string> texts;
    for (CFIndex i = 0; answer == noErr && i < CFArrayGetCount(presets); ++i)
    {
        const auto* preset = static_cast<const AUPreset*>(CFArrayGetValueAtIndex(presets, i));
        texts.push_back(std::to_string(preset->presetNumber) + " " + textOf(preset->presetName));
    }
    if (presets != nullptr)
        CFRelease(presets);
    line("factory presets", answer != noErr ? status(answer) : joined(texts));

    AUPreset present{};
    const OSStatus got =
        unit.get(kAudioUnitProperty_PresentPreset, kAudioUnitScope_Global, 0, present);
    line("present preset",
         got != noErr ? status(got)
                      : std::to_string(present.presetNumber) + " " + textOf(present.presetName));
    if (present.presetName != nullptr)
        CFRelease(present.presetName);
}

void showFastDispatch(HostedUnit& unit)
{
    std::vector<std::string> texts;
    for (auto [element, name] : {std::pair{UInt32(kAudioUnitGetParameterSelect), "get-parameter"},
                                 std::pair{UInt32(kAudioUnitSetParameterSelect), "set-parameter"},
                                 std::pair{UInt32(kAudioUnitRenderSelect), "render"},
                                 std::pair{UInt32(kMusicDeviceMIDIEventSelect), "midi"}})
    {
        void* function = nullptr;
        const OSStatus answer =
            unit.get(kAudioUnitProperty_FastDispatch, kAudioUnitScope_Global, element, function);
        texts.push_back(std::string(name) + " " +
                        (answer == noErr && function != nullptr ? "yes" : status(answer)));
    }
    line("fast functions", joined(texts, ", "));
}

void showSavedState(HostedUnit& unit)
{
    OSStatus answer = noErr;
    const ClassInfo saved = ClassInfo::save(unit, answer);
    line("class info", status(answer));
    if (!saved.valid())
        return;
    line("  keys", joined(saved.keys()));
    line("  version", std::to_string(saved.number("version").value_or(-1)));
    for (const char* key : {"type", "subtype", "manufacturer"})
        line((std::string("  ") + key).c_str(),
             "'" + fourCharText(uint32_t(saved.number(key).value_or(0))) + "'");
    line("  name", saved.text("name").value_or("<none>"));
    line("  data", wordsInHex(saved.bytes("data").value_or(std::vector<uint8_t>{})));
    const auto block = saved.bytes("jucePluginState").value_or(std::vector<uint8_t>{});
    line("  jucePluginState", stateBlockText(block).value_or("<not a state block>") + " (" +
                                  std::to_string(block.size()) + " bytes)");
}
} // namespace

int runInfo(Arguments& arguments)
{
    const UnitOptions options = UnitOptions::take(arguments);
    const auto words = arguments.positionals(1, "the plug-in path");
    BundleLibrary bundle(words[0]);
    auto unit = HostedUnit::open(bundle, options.road, options.withPlatform);
    line("opened", options.describe());

    if (options.road == Road::componentManager)
    {
        char version[16];
        std::snprintf(version, sizeof version, "0x%X",
                      unsigned(unit->componentCall(kComponentVersionSelect, 0)));
        line("version", version);
        std::vector<std::string> canDo;
        for (SInt16 selector :
             {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 0x101, 0x102})
            if (unit->componentCall(kComponentCanDoSelect, UInt16(selector)) == 1)
                canDo.push_back(std::to_string(selector));
        line("can do", joined(canDo));
    }
    showChannelsAndTimes(*unit);
    showParameters(*unit);
    showPresets(*unit);
    UInt32 word = 9;
    line(
        "bypass",
        valueOr(unit->get(kAudioUnitProperty_BypassEffect, kAudioUnitScope_Global, 0, word), word));
    line("in place",
         valueOr(unit->get(kAudioUnitProperty_InPlaceProcessing, kAudioUnitScope_Global, 0, word),
                 word));
    CFURLRef names = nullptr;
    line("MIDI names",
         status(unit->get(kMusicDeviceProperty_MIDIXMLNames, kAudioUnitScope_Global, 0, names)));
    showFastDispatch(*unit);

    // The default formats are stereo: the unit must refuse them, and take 4 channels until it is
    // initialised.
    line("initialize stereo", status(unit->initialize()));
    line("set 4-channel formats", status(configureFourChannels(*unit, 48000.0, 512)));
    line("initialize", status(unit->initialize()));
    line("set format initialised",
         status(unit->set(kAudioUnitProperty_StreamFormat, kAudioUnitScope_Input, 0,
                          floatFormat(44100.0, 4))));
    showSavedState(*unit);
    line("uninitialize", status(unit->uninitialize()));
    line("close", status(unit->close()));
    return exitCode::ok;
}
