// AudioEffectX's calls to the host. Without a host callback each answers its neutral value
// (callHost answers 0, which every conversion below maps to 0, false or null).
#include "hosts/vst2/AudioEffectX.h"

namespace
{
bool isYes(intptr_t answer)
{
    return answer != 0;
}
} // namespace

bool AudioEffectX::beginEdit(int32_t index)
{
    return isYes(callHost(audioMasterBeginEdit, index));
}

bool AudioEffectX::endEdit(int32_t index)
{
    return isYes(callHost(audioMasterEndEdit, index));
}

bool AudioEffectX::ioChanged()
{
    return isYes(callHost(audioMasterIOChanged));
}

double AudioEffectX::updateSampleRate()
{
    // Zero or less means the host does not know; keep what we have.
    const auto answer = callHost(audioMasterGetSampleRate);
    if (answer > 0)
        sampleRate.store(static_cast<float>(answer), std::memory_order_relaxed);
    return sampleRate.load(std::memory_order_relaxed);
}

int32_t AudioEffectX::updateBlockSize()
{
    const auto answer = static_cast<int32_t>(callHost(audioMasterGetBlockSize));
    if (answer > 0)
        blockSize.store(answer, std::memory_order_relaxed);
    return blockSize.load(std::memory_order_relaxed);
}

int32_t AudioEffectX::getInputLatency()
{
    return static_cast<int32_t>(callHost(audioMasterGetInputLatency));
}

int32_t AudioEffectX::getOutputLatency()
{
    return static_cast<int32_t>(callHost(audioMasterGetOutputLatency));
}

VstTimeInfo* AudioEffectX::getTimeInfo(int32_t filter)
{
    return reinterpret_cast<VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

int32_t AudioEffectX::getCurrentProcessLevel()
{
    return static_cast<int32_t>(callHost(audioMasterGetCurrentProcessLevel));
}

int32_t AudioEffectX::getAutomationState()
{
    return static_cast<int32_t>(callHost(audioMasterGetAutomationState));
}

bool AudioEffectX::getHostVendorString(char* text)
{
    return isYes(callHost(audioMasterGetVendorString, 0, 0, text));
}

bool AudioEffectX::getHostProductString(char* text)
{
    return isYes(callHost(audioMasterGetProductString, 0, 0, text));
}

int32_t AudioEffectX::getHostVendorVersion()
{
    return static_cast<int32_t>(callHost(audioMasterGetVendorVersion));
}

intptr_t AudioEffectX::hostVendorSpecific(int32_t arg1, intptr_t arg2, void* ptr, float floatArg)
{
    return callHost(audioMasterVendorSpecific, arg1, arg2, ptr, floatArg);
}

int32_t AudioEffectX::canHostDo(char* text)
{
    // The host answers 1 for yes, -1 for no and 0 when it does not know.
    return callHost(audioMasterCanDo, 0, 0, text) > 0 ? 1 : 0;
}

int32_t AudioEffectX::getHostLanguage()
{
    return static_cast<int32_t>(callHost(audioMasterGetLanguage));
}

void* AudioEffectX::getDirectory()
{
    return reinterpret_cast<void*>(callHost(audioMasterGetDirectory));
}

bool AudioEffectX::updateDisplay()
{
    return isYes(callHost(audioMasterUpdateDisplay));
}

bool AudioEffectX::sizeWindow(int32_t width, int32_t height)
{
    return isYes(callHost(audioMasterSizeWindow, width, height));
}

bool AudioEffectX::openFileSelector(VstFileSelect* selector)
{
    if (selector == nullptr)
        return false;
    return isYes(callHost(audioMasterOpenFileSelector, 0, 0, selector));
}

bool AudioEffectX::closeFileSelector(VstFileSelect* selector)
{
    if (selector == nullptr)
        return false;
    return isYes(callHost(audioMasterCloseFileSelector, 0, 0, selector));
}

//==================================================================================================
// Offline processing

bool AudioEffectX::offlineRead(VstOfflineTask* offline, int32_t option, bool readSource)
{
    return isYes(callHost(audioMasterOfflineRead, readSource ? 1 : 0, option, offline));
}

bool AudioEffectX::offlineWrite(VstOfflineTask* offline, int32_t option)
{
    return isYes(callHost(audioMasterOfflineWrite, 0, option, offline));
}

bool AudioEffectX::offlineStart(VstAudioFile* ptr, int32_t numAudioFiles, int32_t numNewAudioFiles)
{
    return isYes(callHost(audioMasterOfflineStart, numNewAudioFiles, numAudioFiles, ptr));
}

int32_t AudioEffectX::offlineGetCurrentPass()
{
    return isYes(callHost(audioMasterOfflineGetCurrentPass)) ? 1 : 0;
}

int32_t AudioEffectX::offlineGetCurrentMetaPass()
{
    return isYes(callHost(audioMasterOfflineGetCurrentMetaPass)) ? 1 : 0;
}

//==================================================================================================
// Deprecated

void AudioEffectX::wantEvents(int32_t filter)
{
    callHost(audioMasterWantMidi, 0, filter);
}

int32_t AudioEffectX::tempoAt(int32_t pos)
{
    return static_cast<int32_t>(callHost(audioMasterTempoAt, 0, pos));
}

int32_t AudioEffectX::getNumAutomatableParameters()
{
    return static_cast<int32_t>(callHost(audioMasterGetNumAutomatableParameters));
}

int32_t AudioEffectX::getParameterQuantization()
{
    return static_cast<int32_t>(callHost(audioMasterGetParameterQuantization));
}

bool AudioEffectX::needIdle()
{
    return isYes(callHost(audioMasterNeedIdle));
}

AEffect* AudioEffectX::getPreviousPlug(int32_t)
{
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetPreviousPlug));
}

AEffect* AudioEffectX::getNextPlug(int32_t)
{
    return reinterpret_cast<AEffect*>(callHost(audioMasterGetNextPlug));
}

int32_t AudioEffectX::willProcessReplacing()
{
    return static_cast<int32_t>(callHost(audioMasterWillReplaceOrAccumulate));
}

void AudioEffectX::setOutputSamplerate(float samplerate)
{
    callHost(audioMasterSetOutputSampleRate, 0, 0, nullptr, samplerate);
}

VstSpeakerArrangement* AudioEffectX::getInputSpeakerArrangement()
{
    return reinterpret_cast<VstSpeakerArrangement*>(
        callHost(audioMasterGetInputSpeakerArrangement));
}

VstSpeakerArrangement* AudioEffectX::getOutputSpeakerArrangement()
{
    return reinterpret_cast<VstSpeakerArrangement*>(
        callHost(audioMasterGetOutputSpeakerArrangement));
}

void* AudioEffectX::openWindow(VstWindow* window)
{
    return reinterpret_cast<void*>(callHost(audioMasterOpenWindow, 0, 0, window));
}

bool AudioEffectX::closeWindow(VstWindow* window)
{
    return isYes(callHost(audioMasterCloseWindow, 0, 0, window));
}

bool AudioEffectX::getChunkFile(void* nativePath)
{
    if (nativePath == nullptr)
        return false;
    return isYes(callHost(audioMasterGetChunkFile, 0, 0, nativePath));
}
