// The extended VST 2 effect: opcodes 25 to 79 and the extended host calls.
#pragma once

#include "hosts/vst2/AudioEffect.h"

/** Adds the extended opcodes and host calls to AudioEffect; no fields of its own. Derived
    classes append their virtual operations after these, so the declaration order is fixed. */
class AudioEffectX : public AudioEffect
{
public:
    AudioEffectX(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);

    /** Answers opcodes 25 to 79; every other opcode goes to AudioEffect::dispatcher. */
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) override;
    /** Asks the host for MIDI when this effect is a synth or can receive MIDI events. */
    void resume() override;

    //==============================================================================================
    // Parameters and programs

    virtual bool canParameterBeAutomated(int32_t index);
    virtual bool string2parameter(int32_t index, char* text);
    virtual bool getParameterProperties(int32_t index, VstParameterProperties* properties);
    /** Tells the host that a gesture on the parameter starts. */
    virtual bool beginEdit(int32_t index);
    virtual bool endEdit(int32_t index);
    virtual bool getProgramNameIndexed(int32_t category, int32_t index, char* text);
    virtual bool beginSetProgram();
    virtual bool endSetProgram();
    virtual int32_t beginLoadBank(VstPatchChunkInfo* info);
    virtual int32_t beginLoadProgram(VstPatchChunkInfo* info);

    //==============================================================================================
    // Connections and configuration

    /** Tells the host that the inputs, outputs or latency changed. */
    virtual bool ioChanged();
    /** Asks the host for its sample rate and keeps a positive answer. */
    virtual double updateSampleRate();
    /** Asks the host for its block size and keeps a positive answer. */
    virtual int32_t updateBlockSize();
    virtual int32_t getInputLatency();
    virtual int32_t getOutputLatency();
    virtual bool getInputProperties(int32_t index, VstPinProperties* properties);
    virtual bool getOutputProperties(int32_t index, VstPinProperties* properties);
    virtual bool setSpeakerArrangement(VstSpeakerArrangement* pluginInput,
                                       VstSpeakerArrangement* pluginOutput);
    /** Stores null through each non-null pointer and answers false. */
    virtual bool getSpeakerArrangement(VstSpeakerArrangement** pluginInput,
                                       VstSpeakerArrangement** pluginOutput);
    virtual bool setBypass(bool onOff);
    virtual bool setPanLaw(int32_t type, float value);
    virtual bool setProcessPrecision(int32_t precision);
    virtual int32_t getNumMidiInputChannels();
    virtual int32_t getNumMidiOutputChannels();

    //==============================================================================================
    // Real time

    /** The host's time info, or null. */
    virtual VstTimeInfo* getTimeInfo(int32_t filter);
    virtual int32_t getCurrentProcessLevel();
    virtual int32_t getAutomationState();
    virtual int32_t processEvents(VstEvents* events);
    virtual int32_t startProcess();
    virtual int32_t stopProcess();
    virtual bool processVariableIo(VstVariableIo* variableIo);
    virtual int32_t setTotalSampleToProcess(int32_t value);

    //==============================================================================================
    // Host and effect properties

    virtual bool getHostVendorString(char* text);
    virtual bool getHostProductString(char* text);
    virtual int32_t getHostVendorVersion();
    virtual intptr_t hostVendorSpecific(int32_t arg1, intptr_t arg2, void* ptr, float floatArg);
    /** 1 when the host says it can, else 0. */
    virtual int32_t canHostDo(char* text);
    virtual int32_t getHostLanguage();
    virtual void isSynth(bool state = true);
    virtual void noTail(bool state = true);
    virtual int32_t getGetTailSize();
    virtual void* getDirectory();
    virtual bool getEffectName(char* name);
    virtual bool getVendorString(char* text);
    virtual bool getProductString(char* text);
    virtual int32_t getVendorVersion();
    virtual intptr_t vendorSpecific(int32_t index, intptr_t value, void* ptr, float opt);
    virtual int32_t canDo(char* text);
    virtual int32_t getVstVersion();
    virtual VstPlugCategory getPlugCategory();

    //==============================================================================================
    // MIDI programs

    virtual int32_t getMidiProgramName(int32_t channel, MidiProgramName* programName);
    virtual int32_t getCurrentMidiProgram(int32_t channel, MidiProgramName* currentProgram);
    virtual int32_t getMidiProgramCategory(int32_t channel, MidiProgramCategory* category);
    virtual bool hasMidiProgramsChanged(int32_t channel);
    virtual bool getMidiKeyName(int32_t channel, MidiKeyName* keyName);

    //==============================================================================================
    // Editor, files and shell

    virtual bool updateDisplay();
    virtual bool sizeWindow(int32_t width, int32_t height);
    /** Answers false without asking the host when the selector is null. */
    virtual bool openFileSelector(VstFileSelect* selector);
    virtual bool closeFileSelector(VstFileSelect* selector);
    virtual int32_t getNextShellPlugin(char* name);

    //==============================================================================================
    // Speaker arrangements: blocks of 8 + 112 x channels bytes owned by whoever holds the pointer.

    /** Replaces *arrangement with a zeroed block of the given channel count. */
    virtual bool allocateArrangement(VstSpeakerArrangement** arrangement, int32_t nbChannels);
    virtual bool deallocateArrangement(VstSpeakerArrangement** arrangement);
    virtual bool copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from);
    /** Replaces *to with a copy of from. */
    virtual bool matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from);

    //==============================================================================================
    // Offline processing

    virtual bool offlineRead(VstOfflineTask* offline, int32_t option, bool readSource = true);
    virtual bool offlineWrite(VstOfflineTask* offline, int32_t option);
    virtual bool offlineStart(VstAudioFile* ptr, int32_t numAudioFiles, int32_t numNewAudioFiles);
    virtual int32_t offlineGetCurrentPass();
    virtual int32_t offlineGetCurrentMetaPass();
    virtual bool offlineNotify(VstAudioFile* ptr, int32_t numAudioFiles, bool start);
    virtual bool offlinePrepare(VstOfflineTask* offline, int32_t count);
    virtual bool offlineRun(VstOfflineTask* offline, int32_t count);
    virtual int32_t offlineGetNumPasses();
    virtual int32_t offlineGetNumMetaPasses();

    //==============================================================================================
    // Deprecated

    virtual void wantEvents(int32_t filter = 1);
    virtual int32_t tempoAt(int32_t pos);
    virtual int32_t getNumAutomatableParameters();
    virtual int32_t getParameterQuantization();
    virtual int32_t getNumCategories();
    virtual bool copyProgram(int32_t destination);
    virtual bool needIdle();
    virtual AEffect* getPreviousPlug(int32_t input);
    virtual AEffect* getNextPlug(int32_t output);
    virtual void inputConnected(int32_t index, bool state);
    virtual void outputConnected(int32_t index, bool state);
    virtual int32_t willProcessReplacing();
    virtual void wantAsyncOperation(bool state = true);
    virtual void hasExternalBuffer(bool state = true);
    virtual int32_t reportCurrentPosition();
    virtual float* reportDestinationBuffer();
    virtual void setOutputSamplerate(float samplerate);
    virtual VstSpeakerArrangement* getInputSpeakerArrangement();
    virtual VstSpeakerArrangement* getOutputSpeakerArrangement();
    virtual void* openWindow(VstWindow* window);
    virtual bool closeWindow(VstWindow* window);
    virtual void setBlockSizeAndSampleRate(int32_t newBlockSize, float newSampleRate);
    virtual bool getErrorText(char* text);
    virtual void* getIcon();
    virtual bool setViewPosition(int32_t x, int32_t y);
    virtual int32_t fxIdle();
    virtual bool keysRequired();
    virtual bool getChunkFile(void* nativePath);

private:
    intptr_t dispatchEditorKey(int32_t opcode, int32_t index, intptr_t value, float opt);
};
