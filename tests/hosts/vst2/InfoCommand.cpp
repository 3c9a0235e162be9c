// info: load, open, read the record and every name the host shows, close.
#include "tests/hosts/vst2/Commands.h"
#include "tests/hosts/vst2/HostedEffect.h"

#include <array>
#include <cstdio>
#include <string>

namespace
{
constexpr std::array kCanDoQuestions{
    "receiveVstEvents",
    "receiveVstMidiEvent",
    "receiveVstMidiEvents",
    "sendVstEvents",
    "sendVstMidiEvent",
    "sendVstMidiEvents",
    "receiveVstTimeInfo",
    "bypass",
    "offline",
    "midiProgramNames",
    "4in4out",
    "2in2out",
    "plugAsChannelInsert",
    "plugAsSend",
    "mixDryWet",
    "noRealTime",
};

struct FlagName
{
    int32_t bit;
    const char* name;
};
constexpr std::array kFlagNames{
    FlagName{effFlagsHasEditor, "HasEditor"},
    FlagName{effFlagsHasClip, "HasClip"},
    FlagName{effFlagsHasVu, "HasVu"},
    FlagName{effFlagsCanMono, "CanMono"},
    FlagName{effFlagsCanReplacing, "CanReplacing"},
    FlagName{effFlagsProgramChunks, "ProgramChunks"},
    FlagName{effFlagsIsSynth, "IsSynth"},
    FlagName{effFlagsNoSoundInStop, "NoSoundInStop"},
    FlagName{effFlagsExtIsAsync, "ExtIsAsync"},
    FlagName{effFlagsExtHasBuffer, "ExtHasBuffer"},
    FlagName{effFlagsCanDoubleReplacing, "CanDoubleReplacing"},
};

std::string fourCharText(int32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
    {
        const char c = char(uint32_t(code) >> shift);
        text += (c >= 0x20 && c < 0x7f) ? c : '.';
    }
    return text;
}

void line(const char* key, const std::string& value)
{
    std::printf("%-28s %s\n", key, value.c_str());
}

void hexLine(const char* key, int32_t code)
{
    char text[32];
    std::snprintf(text, sizeof text, "0x%08x '%s'", uint32_t(code), fourCharText(code).c_str());
    line(key, text);
}

std::string flagText(int32_t flags)
{
    std::string text = std::to_string(flags) + " (";
    bool first = true;
    for (const auto& flag : kFlagNames)
        if ((flags & flag.bit) != 0)
        {
            text += (first ? "" : " ") + std::string(flag.name);
            first = false;
        }
    return text + ")";
}

std::string quoted(const std::string& text)
{
    return "\"" + text + "\"";
}

std::string editorSize(HostedEffect& effect)
{
    ERect* rect = nullptr;
    const intptr_t answer = effect.dispatch(effEditGetRect, 0, 0, &rect);
    if (answer == 0 || rect == nullptr)
        return "none (answer " + std::to_string(answer) + ")";
    return std::to_string(rect->right - rect->left) + " x " +
           std::to_string(rect->bottom - rect->top);
}
} // namespace

int runInfo(Arguments& arguments)
{
    const auto words = arguments.positionals(1, "the plug-in path");
    HostContext context;
    PluginLibrary library(words[0]);
    HostedEffect effect(library, context);
    const AEffect& record = effect.record();

    line("library", library.path() + " (entry " + library.entryName() + ")");
    hexLine("magic", record.magic);
    line("programs", std::to_string(record.numPrograms));
    line("parameters", std::to_string(record.numParams));
    line("inputs", std::to_string(record.numInputs));
    line("outputs", std::to_string(record.numOutputs));
    line("flags", flagText(record.flags));
    line("initial delay", std::to_string(record.initialDelay));
    hexLine("unique id", record.uniqueID);
    line("version", std::to_string(record.version));

    effect.open();
    line("effect name", quoted(effect.text(effGetEffectName, textCapacity::name)));
    line("vendor", quoted(effect.text(effGetVendorString, textCapacity::name)));
    line("product", quoted(effect.text(effGetProductString, textCapacity::name)));
    line("vendor version", std::to_string(effect.dispatch(effGetVendorVersion)));
    line("category", std::to_string(effect.dispatch(effGetPlugCategory)));
    line("vst version", std::to_string(effect.dispatch(effGetVstVersion)));
    line("tail size", std::to_string(effect.dispatch(effGetTailSize)));

    for (int32_t program = 0; program < record.numPrograms; ++program)
        line(("program " + std::to_string(program)).c_str(),
             quoted(effect.text(effGetProgramName, textCapacity::programName)) + " / indexed " +
                 quoted(effect.text(effGetProgramNameIndexed, textCapacity::programName, program)));

    for (int32_t index = 0; index < record.numParams; ++index)
    {
        const std::string name = effect.text(effGetParamName, textCapacity::parameter, index);
        const std::string display = effect.text(effGetParamDisplay, textCapacity::parameter, index);
        const std::string label = effect.text(effGetParamLabel, textCapacity::parameter, index);
        char value[32];
        std::snprintf(value, sizeof value, "%.9g", double(effect.getParameter(index)));
        line(("parameter " + std::to_string(index)).c_str(),
             quoted(name) + " value " + value + " display " + quoted(display) + " label " +
                 quoted(label) + " automatable " +
                 std::to_string(effect.dispatch(effCanBeAutomated, index)));
    }

    line("editor", editorSize(effect));
    for (const char* question : kCanDoQuestions)
        line(("can do " + std::string(question)).c_str(),
             std::to_string(effect.dispatch(effCanDo, 0, 0, const_cast<char*>(question))));

    line("set bypass", std::to_string(effect.dispatch(effSetBypass, 0, 1)));
    effect.dispatch(effSetBypass, 0, 0);
    line("close", std::to_string(effect.close()));

    for (const auto& problem : effect.problems())
        std::printf("PROBLEM: %s\n", problem.c_str());
    return effect.problems().empty() ? exitCode::ok : exitCode::failed;
}
