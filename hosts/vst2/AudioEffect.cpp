#include "hosts/vst2/AudioEffect.h"

#include <cstring>

namespace
{
constexpr float kDefaultIoRatio = 1.0f;
constexpr int32_t kDefaultNumInputs = 1;
constexpr int32_t kDefaultNumOutputs = 2;
constexpr int32_t kDefaultVersion = 1;
constexpr int32_t kMasterVersionUnknown = 1;

intptr_t answerOf(bool result)
{
    return result ? 1 : 0;
}
} // namespace

AudioEffect::AudioEffect(audioMasterCallback audioMasterToUse, int32_t programs, int32_t params)
    : audioMaster(audioMasterToUse), numPrograms(programs), numParams(params)
{
    // Hosts read every byte of the record, padding and reserved space included.
    std::memset(&cEffect, 0, sizeof(cEffect));

    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = dispatchEffectClass;
    cEffect.process = processClass;
    cEffect.setParameter = setParameterClass;
    cEffect.getParameter = getParameterClass;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = kDefaultNumInputs;
    cEffect.numOutputs = kDefaultNumOutputs;
    cEffect.flags = effFlagsCanReplacing;
    cEffect.ioRatio = kDefaultIoRatio;
    cEffect.object = this;
    cEffect.uniqueID = kEffectDefaultUniqueId;
    cEffect.version = kDefaultVersion;
    cEffect.processReplacing = processClassReplacing;
    cEffect.processDoubleReplacing = processClassDoubleReplacing;
}

AudioEffect::~AudioEffect()
{
    delete editor;
}

intptr_t AudioEffect::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                 float opt)
{
    // Compared unsigned: negative opcodes fall through to the default answer with the rest.
    switch (static_cast<uint32_t>(opcode))
    {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms)
            setProgram(static_cast<int32_t>(value));
        return 0;
    case effGetProgram:
        return getProgram();

    // Text opcodes: the callee reads or writes the host's buffer, so a missing one answers 0.
    case effSetProgramName:
        if (ptr != nullptr)
            setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        if (ptr != nullptr)
            getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        if (ptr != nullptr)
            getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        if (ptr != nullptr)
            getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        if (ptr != nullptr)
            getParameterName(index, static_cast<char*>(ptr));
        return 0;

    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<int32_t>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;

    case effEditGetRect:
        return editor != nullptr ? answerOf(editor->getRect(static_cast<ERect**>(ptr))) : 0;
    case effEditOpen:
        return editor != nullptr ? answerOf(editor->open(ptr)) : 0;
    case effEditClose:
        if (editor != nullptr)
            editor->close();
        return 0;
    case effEditIdle:
        if (editor != nullptr)
            editor->idle();
        return 0;

    case effIdentify:
        return kEffectIdentifyAnswer;

    case effGetChunk:
        if (ptr == nullptr)
            return 0;
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        if (ptr == nullptr)
            return 0;
        return setChunk(ptr, static_cast<int32_t>(value), index != 0);

    default:
        return 0;
    }
}

void AudioEffect::processDoubleReplacing(double**, double**, int32_t) {}

void AudioEffect::setParameter(int32_t, float) {}

float AudioEffect::getParameter(int32_t)
{
    return 0.0f;
}

void AudioEffect::setParameterAutomated(int32_t index, float value)
{
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

void AudioEffect::setProgramName(char*) {}

void AudioEffect::getProgramName(char* name)
{
    if (name != nullptr)
        name[0] = 0;
}

void AudioEffect::getParameterLabel(int32_t, char* label)
{
    if (label != nullptr)
        label[0] = 0;
}

void AudioEffect::getParameterDisplay(int32_t, char* text)
{
    if (text != nullptr)
        text[0] = 0;
}

void AudioEffect::getParameterName(int32_t, char* text)
{
    if (text != nullptr)
        text[0] = 0;
}

int32_t AudioEffect::getChunk(void**, bool)
{
    return 0;
}

int32_t AudioEffect::setChunk(void*, int32_t, bool)
{
    return 0;
}

void AudioEffect::canProcessReplacing(bool state)
{
    setFlag(effFlagsCanReplacing, state);
}

void AudioEffect::canDoubleReplacing(bool state)
{
    setFlag(effFlagsCanDoubleReplacing, state);
}

void AudioEffect::programsAreChunks(bool state)
{
    setFlag(effFlagsProgramChunks, state);
}

int32_t AudioEffect::getMasterVersion()
{
    const auto version = static_cast<int32_t>(callHost(audioMasterVersion));
    return version != 0 ? version : kMasterVersionUnknown;
}

int32_t AudioEffect::getCurrentUniqueId()
{
    return static_cast<int32_t>(callHost(audioMasterCurrentId));
}

void AudioEffect::masterIdle()
{
    callHost(audioMasterIdle);
}

void AudioEffect::process(float**, float**, int32_t) {}

void AudioEffect::hasVu(bool state)
{
    setFlag(effFlagsHasVu, state);
}

void AudioEffect::hasClip(bool state)
{
    setFlag(effFlagsHasClip, state);
}

void AudioEffect::canMono(bool state)
{
    setFlag(effFlagsCanMono, state);
}

// The host answers 0 for a connected pin; without a host every pin counts as connected.
bool AudioEffect::isInputConnected(int32_t input)
{
    return callHost(audioMasterPinConnected, input, 0) == 0;
}

bool AudioEffect::isOutputConnected(int32_t output)
{
    return callHost(audioMasterPinConnected, output, 1) == 0;
}

void AudioEffect::setFlag(int32_t flag, bool state)
{
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

intptr_t AudioEffect::callHost(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    if (audioMaster == nullptr)
        return 0;
    return audioMaster(&cEffect, opcode, index, value, ptr, opt);
}
