#include "hosts/vst2/AudioEffectX.h"

namespace
{
constexpr int32_t kWantMidiEvents = 1;
constexpr int32_t kCanDoYes = 1;
constexpr int32_t kNoCurrentMidiProgram = -1;
constexpr int32_t kDefaultNumCategories = 1;

intptr_t answerOf(bool result)
{
    return result ? 1 : 0;
}

// Modifier keys arrive as a float; only values an int32_t can hold convert without undefined
// behaviour (NaN fails both comparisons).
bool modifierInRange(float opt)
{
    constexpr double kLowest = -2147483648.0;
    constexpr double kPastHighest = 2147483648.0;
    return static_cast<double>(opt) >= kLowest && static_cast<double>(opt) < kPastHighest;
}
} // namespace

AudioEffectX::AudioEffectX(audioMasterCallback audioMasterToUse, int32_t programs, int32_t params)
    : AudioEffect(audioMasterToUse, programs, params)
{
}

intptr_t AudioEffectX::dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt)
{
    auto* const text = static_cast<char*>(ptr);

    // 32-bit answers widen with their sign, except the plug-in category. Text opcodes answer 0
    // without a buffer, as in AudioEffect::dispatcher.
    switch (static_cast<uint32_t>(opcode))
    {
    case effProcessEvents:
        return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
        return answerOf(canParameterBeAutomated(index));
    case effString2Parameter:
        return text != nullptr ? answerOf(string2parameter(index, text)) : 0;
    case effGetProgramNameIndexed:
        return text != nullptr
                   ? answerOf(getProgramNameIndexed(static_cast<int32_t>(value), index, text))
                   : 0;
    case effGetInputProperties:
        return answerOf(getInputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetOutputProperties:
        return answerOf(getOutputProperties(index, static_cast<VstPinProperties*>(ptr)));
    case effGetPlugCategory:
        return static_cast<intptr_t>(static_cast<uint32_t>(getPlugCategory()));
    case effOfflineNotify:
        return answerOf(offlineNotify(static_cast<VstAudioFile*>(ptr), static_cast<int32_t>(value),
                                      index != 0));
    case effOfflinePrepare:
        return answerOf(
            offlinePrepare(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)));
    case effOfflineRun:
        return answerOf(offlineRun(static_cast<VstOfflineTask*>(ptr), static_cast<int32_t>(value)));
    case effProcessVarIo:
        return answerOf(processVariableIo(static_cast<VstVariableIo*>(ptr)));
    case effSetSpeakerArrangement:
        return answerOf(setSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement*>(value),
                                              static_cast<VstSpeakerArrangement*>(ptr)));
    case effSetBypass:
        return answerOf(setBypass(value != 0));
    case effGetEffectName:
        return text != nullptr ? answerOf(getEffectName(text)) : 0;
    case effGetVendorString:
        return text != nullptr ? answerOf(getVendorString(text)) : 0;
    case effGetProductString:
        return text != nullptr ? answerOf(getProductString(text)) : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effVendorSpecific:
        return vendorSpecific(index, value, ptr, opt);
    case effCanDo:
        return text != nullptr ? canDo(text) : 0;
    case effGetTailSize:
        return getGetTailSize();
    case effGetParameterProperties:
        return answerOf(getParameterProperties(index, static_cast<VstParameterProperties*>(ptr)));
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp:
        return dispatchEditorKey(opcode, index, value, opt);
    case effSetEditKnobMode:
        return editor != nullptr ? answerOf(editor->setKnobMode(static_cast<int32_t>(value))) : 0;
    case effGetMidiProgramName:
        return getMidiProgramName(index, static_cast<MidiProgramName*>(ptr));
    case effGetCurrentMidiProgram:
        return getCurrentMidiProgram(index, static_cast<MidiProgramName*>(ptr));
    case effGetMidiProgramCategory:
        return getMidiProgramCategory(index, static_cast<MidiProgramCategory*>(ptr));
    case effHasMidiProgramsChanged:
        return answerOf(hasMidiProgramsChanged(index));
    case effGetMidiKeyName:
        return answerOf(getMidiKeyName(index, static_cast<MidiKeyName*>(ptr)));
    case effBeginSetProgram:
        return answerOf(beginSetProgram());
    case effEndSetProgram:
        return answerOf(endSetProgram());
    case effGetSpeakerArrangement:
        return answerOf(getSpeakerArrangement(reinterpret_cast<VstSpeakerArrangement**>(value),
                                              static_cast<VstSpeakerArrangement**>(ptr)));
    case effShellGetNextPlugin:
        return text != nullptr ? getNextShellPlugin(text) : 0;
    case effStartProcess:
        return startProcess();
    case effStopProcess:
        return stopProcess();
    case effSetTotalSampleToProcess:
        return setTotalSampleToProcess(static_cast<int32_t>(value));
    case effSetPanLaw:
        return answerOf(setPanLaw(static_cast<int32_t>(value), opt));
    case effBeginLoadBank:
        return beginLoadBank(static_cast<VstPatchChunkInfo*>(ptr));
    case effBeginLoadProgram:
        return beginLoadProgram(static_cast<VstPatchChunkInfo*>(ptr));
    case effSetProcessPrecision:
        return answerOf(setProcessPrecision(static_cast<int32_t>(value)));
    case effGetNumMidiInputChannels:
        return getNumMidiInputChannels();
    case effGetNumMidiOutputChannels:
        return getNumMidiOutputChannels();
    default:
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

intptr_t AudioEffectX::dispatchEditorKey(int32_t opcode, int32_t index, intptr_t value, float opt)
{
    if (editor == nullptr || !modifierInRange(opt))
        return 0;

    VstKeyCode keyCode{};
    keyCode.character = index;
    keyCode.virt = static_cast<unsigned char>(value);
    keyCode.modifier = static_cast<unsigned char>(static_cast<int32_t>(opt));
    return answerOf(opcode == effEditKeyDown ? editor->onKeyDown(keyCode)
                                             : editor->onKeyUp(keyCode));
}

void AudioEffectX::resume()
{
    // canDo takes a writable text, so each call gets its own copy.
    char receiveMidiEvents[] = "receiveVstMidiEvent";
    if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo(receiveMidiEvents) == kCanDoYes)
        wantEvents(kWantMidiEvents);
}

//==================================================================================================
// Defaults that answer without the host

bool AudioEffectX::canParameterBeAutomated(int32_t)
{
    return true;
}
bool AudioEffectX::string2parameter(int32_t, char*)
{
    return false;
}
bool AudioEffectX::getParameterProperties(int32_t, VstParameterProperties*)
{
    return false;
}
bool AudioEffectX::getProgramNameIndexed(int32_t, int32_t, char*)
{
    return false;
}
bool AudioEffectX::beginSetProgram()
{
    return false;
}
bool AudioEffectX::endSetProgram()
{
    return false;
}
int32_t AudioEffectX::beginLoadBank(VstPatchChunkInfo*)
{
    return 0;
}
int32_t AudioEffectX::beginLoadProgram(VstPatchChunkInfo*)
{
    return 0;
}

bool AudioEffectX::getInputProperties(int32_t, VstPinProperties*)
{
    return false;
}
bool AudioEffectX::getOutputProperties(int32_t, VstPinProperties*)
{
    return false;
}
bool AudioEffectX::setSpeakerArrangement(VstSpeakerArrangement*, VstSpeakerArrangement*)
{
    return false;
}

bool AudioEffectX::getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                         VstSpeakerArrangement** pluginOutput)
{
    if (pluginInput != nullptr)
        *pluginInput = nullptr;
    if (pluginOutput != nullptr)
        *pluginOutput = nullptr;
    return false;
}

bool AudioEffectX::setBypass(bool)
{
    return false;
}
bool AudioEffectX::setPanLaw(int32_t, float)
{
    return false;
}
bool AudioEffectX::setProcessPrecision(int32_t)
{
    return false;
}
int32_t AudioEffectX::getNumMidiInputChannels()
{
    return 0;
}
int32_t AudioEffectX::getNumMidiOutputChannels()
{
    return 0;
}

int32_t AudioEffectX::processEvents(VstEvents*)
{
    return 0;
}
int32_t AudioEffectX::startProcess()
{
    return 0;
}
int32_t AudioEffectX::stopProcess()
{
    return 0;
}
bool AudioEffectX::processVariableIo(VstVariableIo*)
{
    return false;
}
int32_t AudioEffectX::setTotalSampleToProcess(int32_t value)
{
    return value;
}

void AudioEffectX::isSynth(bool state)
{
    setFlag(effFlagsIsSynth, state);
}
void AudioEffectX::noTail(bool state)
{
    setFlag(effFlagsNoSoundInStop, state);
}
int32_t AudioEffectX::getGetTailSize()
{
    return 0;
}
bool AudioEffectX::getEffectName(char*)
{
    return false;
}
bool AudioEffectX::getVendorString(char*)
{
    return false;
}
bool AudioEffectX::getProductString(char*)
{
    return false;
}
int32_t AudioEffectX::getVendorVersion()
{
    return 0;
}
intptr_t AudioEffectX::vendorSpecific(int32_t, intptr_t, void*, float)
{
    return 0;
}
int32_t AudioEffectX::canDo(char*)
{
    return 0;
}
int32_t AudioEffectX::getVstVersion()
{
    return kVstVersion;
}

VstPlugCategory AudioEffectX::getPlugCategory()
{
    return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

int32_t AudioEffectX::getMidiProgramName(int32_t, MidiProgramName*)
{
    return 0;
}
int32_t AudioEffectX::getCurrentMidiProgram(int32_t, MidiProgramName*)
{
    return kNoCurrentMidiProgram;
}
int32_t AudioEffectX::getMidiProgramCategory(int32_t, MidiProgramCategory*)
{
    return 0;
}
bool AudioEffectX::hasMidiProgramsChanged(int32_t)
{
    return false;
}
bool AudioEffectX::getMidiKeyName(int32_t, MidiKeyName*)
{
    return false;
}

int32_t AudioEffectX::getNextShellPlugin(char*)
{
    return 0;
}

bool AudioEffectX::offlineNotify(VstAudioFile*, int32_t, bool)
{
    return false;
}
bool AudioEffectX::offlinePrepare(VstOfflineTask*, int32_t)
{
    return false;
}
bool AudioEffectX::offlineRun(VstOfflineTask*, int32_t)
{
    return false;
}
int32_t AudioEffectX::offlineGetNumPasses()
{
    return 0;
}
int32_t AudioEffectX::offlineGetNumMetaPasses()
{
    return 0;
}

int32_t AudioEffectX::getNumCategories()
{
    return kDefaultNumCategories;
}
bool AudioEffectX::copyProgram(int32_t)
{
    return false;
}
void AudioEffectX::inputConnected(int32_t, bool) {}
void AudioEffectX::outputConnected(int32_t, bool) {}
void AudioEffectX::wantAsyncOperation(bool state)
{
    setFlag(effFlagsExtIsAsync, state);
}
void AudioEffectX::hasExternalBuffer(bool state)
{
    setFlag(effFlagsExtHasBuffer, state);
}
int32_t AudioEffectX::reportCurrentPosition()
{
    return 0;
}
float* AudioEffectX::reportDestinationBuffer()
{
    return nullptr;
}

void AudioEffectX::setBlockSizeAndSampleRate(int32_t newBlockSize, float newSampleRate)
{
    blockSize.store(newBlockSize, std::memory_order_relaxed);
    sampleRate.store(newSampleRate, std::memory_order_relaxed);
}

bool AudioEffectX::getErrorText(char*)
{
    return false;
}
void* AudioEffectX::getIcon()
{
    return nullptr;
}
bool AudioEffectX::setViewPosition(int32_t, int32_t)
{
    return false;
}
int32_t AudioEffectX::fxIdle()
{
    return 0;
}
bool AudioEffectX::keysRequired()
{
    return false;
}
