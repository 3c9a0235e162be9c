#pragma once

#include "hosts/aax/effect/AAX_CEffectParameters.h"
#include "wrappers/common/BlockRunner.h"
#include "wrappers/common/MessageThread.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <optional>

namespace veridane::aax
{
class ProcessorParameter;

/** One AAX instance of the plug-in: the data model the host drives through the effect-parameters
    interface, owning the processor, and the audio that the process procedure runs on it. The
    host's master bypass and one parameter per processor parameter (identifier: the decimal
    index); the base's 'elck' chunk and a 'juce' chunk with the processor's state block.

    Threads: the host calls from its own threads, the audio from its audio thread; the processor
    reports its own changes from whichever thread made them (its editor's on the message thread).
    A host update reaches only the processor; the processor's changes and gestures reach the host
    as requests, and the host's answer to one finds the processor already holding its value, so
    neither side hears its own change back. */
class VeridaneAaxEffect final : public AAX_CEffectParameters, private juce::AudioProcessorListener
{
public:
    /** Answered only with this object as its own class, so the plug-in's window can tell its
        effect from any other object a host hands it. */
    static constexpr ACFGuid kClassIID = acfGuid("{5645524A-4441-4E45-8141-5845464645C7}");
    /** The chunk holding the processor's state block. */
    static constexpr AAX_CTypeID kStateChunkID = 0x6A756365; // 'juce'

    /** Takes a processor, which must not be null. */
    explicit VeridaneAaxEffect(std::unique_ptr<juce::AudioProcessor> processorToWrap);
    ~VeridaneAaxEffect() override;

    juce::AudioProcessor& getProcessor() noexcept { return *processor; }

    /** A second call keeps the master bypass as it was, as the processor keeps its values. */
    AAX_Result Initialize(IACFUnknown* controller) override;
    /** Also releases the processor's resources. */
    AAX_Result Uninitialize() override;
    /** The host's value, also handed to the processor for its own parameters. */
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID identifier, double value,
                                              int32_t updateSource) override;
    /** The private data gets this instance's address, for the process procedure; -20008, the
        data untouched, when it has room for part of the address only. */
    AAX_Result ResetFieldData(int32_t fieldIndex, void* data, uint32_t size) const override;
    /** The base's chunks, then 'juce'. */
    AAX_Result GetNumberOfChunks(int32_t* count) const override;
    AAX_Result GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const override;
    /** For 'juce', takes the processor's state as it is now; GetChunk hands out that state. */
    AAX_Result GetChunkSize(AAX_CTypeID chunkID, uint32_t* size) override;
    /** For 'juce', -20008 when GetChunkSize took no state before. */
    AAX_Result GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk) override;
    /** For 'juce', sets the processor's state and then asks the host to bring the parameters in
        line with it; 0 whatever the content. */
    AAX_Result SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk) override;
    ACFResult InternalQueryInterface(const ACFGuid* iid, void** out) override;

    /** Adds the master bypass and the processor's parameters, registers the bypass packet, reads
        the session from the host, reports the latency and prepares the processor. A stem format
        other than the one channel configuration's is refused with -20009. */
    AAX_Result EffectInit() override;

    /** Audio thread: the host's buffers through the processor, or past it while bypassed. */
    void process(float* const* inputs, float* const* outputs, int32_t numFrames,
                 bool bypassed) noexcept;

private:
    void addParameters();
    /** Keeps the master bypass's value for the parameter the next EffectInit makes. */
    void rememberMasterBypass();
    void prepare(double sampleRate);
    void release();
    /** The processor's parameter index an identifier names, if it names one. */
    std::optional<int> processorParameterIndex(AAX_CParamID identifier) const;
    ProcessorParameter* parameterFor(int index);
    /** After a restore: asks the host to set every parameter to the processor's value, or to the
        one it was last given when the restored value is that one rounded to its saved text. */
    void requestRestoredValues();

    void audioProcessorParameterChanged(juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged(juce::AudioProcessor*, const ChangeDetails& details) override;
    void audioProcessorParameterChangeGestureBegin(juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd(juce::AudioProcessor*, int index) override;

    // Declared in the order they must be built; the message thread outlives everything else.
    wrappers::MessageThread::User messageThreadUser;
    std::unique_ptr<juce::AudioProcessor> processor;
    wrappers::BlockRunner runner;
    const int numProcessorParameters;
    /** Index of the 'juce' chunk: the base's chunk count. */
    const int32_t stateChunkIndex;

    /** Keeps the parameters and the host's objects in place while the processor's reports use
        them from other threads. Never taken on the audio thread. */
    std::mutex hostObjectsLock;
    // Under hostObjectsLock.
    bool masterBypass = false;
    bool bypassPacketRegistered = false;
    std::mutex stateChunkLock;
    juce::MemoryBlock stateChunk;
    std::atomic<bool> prepared{false};

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(VeridaneAaxEffect)
};

} // namespace veridane::aax
