#pragma once

#include "hosts/vst2/AudioEffectX.h"
#include "wrappers/common/BlockRunner.h"
#include "wrappers/vst2/ChunkStore.h"
#include "wrappers/vst2/EditorHost.h"
#include "wrappers/common/MessageThread.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>

namespace veridane::vst2
{

/** One VST 2 instance of the plug-in: the effect the host talks to through its record, owning
    the processor and turning every host call into a processor call.

    Threads: the dispatcher and the parameter calls come from host threads, processReplacing from
    the audio thread; the editor lives on the plug-in's message thread. Parameter changes and
    gestures of the processor go to the host, and host changes go only to the processor, so
    neither side hears its own change back. */
class VeridaneVstWrapper : public AudioEffectX, private juce::AudioProcessorListener
{
public:
    /** Takes the host callback and a processor, which must not be null. */
    VeridaneVstWrapper(audioMasterCallback hostCallback,
                       std::unique_ptr<juce::AudioProcessor> processorToWrap);
    ~VeridaneVstWrapper() override;

    juce::AudioProcessor& getProcessor() noexcept { return *processor; }

    /** Serves the editor opcodes itself and refuses sizes that do not fit; the rest goes to
        AudioEffectX. */
    intptr_t dispatcher(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                        float opt) override;

    //==============================================================================================
    // Playback

    /** Announces four inputs, four outputs, the sample rate and block size, and prepares. */
    void resume() override;
    void suspend() override;
    /** Rates that are not positive and finite are ignored. */
    void setSampleRate(float newSampleRate) override;
    /** Sizes below one are ignored; longer blocks than announced are still processed. */
    void setBlockSize(int32_t newBlockSize) override;
    /** Audio thread. */
    void processReplacing(float** inputs, float** outputs, int32_t sampleFrames) override;
    bool setBypass(bool onOff) override;
    /** MIDI is accepted and ignored. */
    int32_t processEvents(VstEvents* events) override;
    int32_t getGetTailSize() override;
    bool setSpeakerArrangement(VstSpeakerArrangement* pluginInput,
                               VstSpeakerArrangement* pluginOutput) override;

    //==============================================================================================
    // Parameters and programs

    void setParameter(int32_t index, float value) override;
    float getParameter(int32_t index) override;
    void getParameterName(int32_t index, char* text) override;
    void getParameterLabel(int32_t index, char* label) override;
    void getParameterDisplay(int32_t index, char* text) override;
    bool canParameterBeAutomated(int32_t index) override;
    /** Sets the parameter from a number written as text; anything else answers false. */
    bool string2parameter(int32_t index, char* text) override;

    int32_t getProgram() override;
    void setProgram(int32_t program) override;
    void setProgramName(char* name) override;
    void getProgramName(char* name) override;
    bool getProgramNameIndexed(int32_t category, int32_t index, char* text) override;

    int32_t getChunk(void** data, bool isPreset) override;
    int32_t setChunk(void* data, int32_t byteSize, bool isPreset) override;

    //==============================================================================================
    // Identity

    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32_t getVendorVersion() override;
    /** The answer of the identity's can-do table; 0 for anything it does not list. */
    int32_t canDo(char* text) override;
    VstPlugCategory getPlugCategory() override;

private:
    bool isParameterIndex(int32_t index) const noexcept;
    void prepare();

    // From the processor, on whichever thread changed it.
    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails& details) override;
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override;

    // Declared in the order they must be built; the message thread outlives everything else.
    wrappers::MessageThread::User messageThreadUser;
    std::unique_ptr<juce::AudioProcessor> processor;
    ChunkStore chunks;
    EditorHost editorHost;
    wrappers::BlockRunner runner;

    std::atomic<bool> prepared{false};
    std::atomic<bool> firstProcessCall{true};
    std::atomic<bool> bypassed{false};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(VeridaneVstWrapper)
};

} // namespace veridane::vst2
