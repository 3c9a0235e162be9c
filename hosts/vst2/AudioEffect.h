// Base class of a VST 2 effect: owns the effect record, routes the host's calls to virtual
// operations and wraps the host callback for a plain effect.
#pragma once

#include "hosts/vst2/VstAbi.h"

#include <atomic>

/** Owns the effect record the host talks through; derived classes complete the operations.
    Called on the host's user-interface thread (dispatcher) and audio thread (process); it takes
    no lock of its own; the values the host's threads share (sample rate, block size, program)
    are relaxed atomics. The declaration order of the virtual operations is part of the contract
    with derived classes and must not change. */
class AudioEffect
{
public:
    AudioEffect(audioMasterCallback audioMaster, int32_t numPrograms, int32_t numParams);
    /** Deletes the attached editor, if any. */
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    //==============================================================================================
    // Host to effect

    /** Answers the host's opcodes 0 to 24; any other opcode answers 0. */
    virtual intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt);

    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}

    virtual void setSampleRate(float newSampleRate)
    {
        sampleRate.store(newSampleRate, std::memory_order_relaxed);
    }
    virtual void setBlockSize(int32_t newBlockSize)
    {
        blockSize.store(newBlockSize, std::memory_order_relaxed);
    }

    /** Audio thread. */
    virtual void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) = 0;
    /** Audio thread. */
    virtual void processDoubleReplacing(double** inputs, double** outputs, int32_t sampleFrames);

    virtual void setParameter(int32_t index, float value);
    virtual float getParameter(int32_t index);
    /** Sets the parameter, then tells the host that it changed. */
    virtual void setParameterAutomated(int32_t index, float value);

    virtual int32_t getProgram() { return curProgram.load(std::memory_order_relaxed); }
    virtual void setProgram(int32_t program)
    {
        curProgram.store(program, std::memory_order_relaxed);
    }
    virtual void setProgramName(char* name);
    virtual void getProgramName(char* name);
    virtual void getParameterLabel(int32_t index, char* label);
    virtual void getParameterDisplay(int32_t index, char* text);
    virtual void getParameterName(int32_t index, char* text);

    /** Stores a pointer to the state through data and answers its byte size. */
    virtual int32_t getChunk(void** data, bool isPreset = false);
    virtual int32_t setChunk(void* data, int32_t byteSize, bool isPreset = false);

    //==============================================================================================
    // Record setters: the host sees a change at its next read.

    virtual void setUniqueID(int32_t id) { cEffect.uniqueID = id; }
    virtual void setNumInputs(int32_t inputs) { cEffect.numInputs = inputs; }
    virtual void setNumOutputs(int32_t outputs) { cEffect.numOutputs = outputs; }
    virtual void canProcessReplacing(bool state = true);
    virtual void canDoubleReplacing(bool state = true);
    virtual void programsAreChunks(bool state = true);
    virtual void setInitialDelay(int32_t delay) { cEffect.initialDelay = delay; }

    virtual AEffEditor* getEditor() { return editor; }
    virtual AEffect* getAeffect() { return &cEffect; }
    virtual float getSampleRate() { return sampleRate.load(std::memory_order_relaxed); }
    virtual int32_t getBlockSize() { return blockSize.load(std::memory_order_relaxed); }

    //==============================================================================================
    // Effect to host

    /** The host's interface version; 1 without a host or when it answers 0. */
    virtual int32_t getMasterVersion();
    virtual int32_t getCurrentUniqueId();
    virtual void masterIdle();

    //==============================================================================================
    // Value formatters: each writes at most maxLen characters and a zero byte at text[maxLen].

    virtual void dB2string(float value, char* text, int32_t maxLen);
    virtual void Hz2string(float samples, char* text, int32_t maxLen);
    virtual void ms2string(float samples, char* text, int32_t maxLen);
    virtual void float2string(float value, char* text, int32_t maxLen);
    virtual void int2string(int32_t value, char* text, int32_t maxLen);

    //==============================================================================================
    // Deprecated

    virtual void process(float** inputs, float** outputs, int32_t sampleFrames);
    virtual float getVu() { return 0.0f; }
    virtual void hasVu(bool state = true);
    virtual void hasClip(bool state = true);
    virtual void canMono(bool state = true);
    virtual void setRealtimeQualities(int32_t qualities) { cEffect.realQualities = qualities; }
    virtual void setOfflineQualities(int32_t qualities) { cEffect.offQualities = qualities; }
    virtual bool isInputConnected(int32_t input);
    virtual bool isOutputConnected(int32_t output);

protected:
    /** Sets or clears one bit of the record's flags. */
    void setFlag(int32_t flag, bool state);
    /** Calls the host with this effect's record; 0 without a host. */
    intptr_t callHost(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr; // owned
    std::atomic<float> sampleRate{44100.0f};
    std::atomic<int32_t> blockSize{1024};
    int32_t numPrograms;
    int32_t numParams;
    std::atomic<int32_t> curProgram{0};
    AEffect cEffect;

private:
    // The record's entries: each finds the object through the record and never lets an
    // exception reach the host.
    static intptr_t dispatchEffectClass(AEffect* effect, int32_t opcode, int32_t index,
                                        intptr_t value, void* ptr, float opt);
    static float getParameterClass(AEffect* effect, int32_t index);
    static void setParameterClass(AEffect* effect, int32_t index, float value);
    static void processClass(AEffect* effect, float** inputs, float** outputs,
                             int32_t sampleFrames);
    static void processClassReplacing(AEffect* effect, float** inputs, float** outputs,
                                      int32_t sampleFrames);
    static void processClassDoubleReplacing(AEffect* effect, double** inputs, double** outputs,
                                            int32_t sampleFrames);
};
