#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdint>
#include <mutex>

namespace veridane::vst2
{

/** The processor's state as the host's chunk. The bytes handed out by get stay valid and
    unchanged until the next get or until the store is destroyed (the instance closes), however
    the processor changes in between. Host threads only, never the audio thread. */
class ChunkStore
{
public:
    explicit ChunkStore(juce::AudioProcessor& processorToStore);

    /** Stores a pointer to a fresh copy of the state through data and answers its size; the
        current program's state when isPreset is set. A null data pointer answers 0. */
    std::int32_t get(void** data, bool isPreset);

    /** Hands a chunk of byteSize bytes to the processor. A null chunk, or a size that is not
        positive or does not fit 32 bits, is refused with 0 and nothing changes; otherwise 1
        (whether the bytes make sense is the processor's to judge: it ignores what it cannot
        read, so its state is never lost). */
    std::int32_t set(const void* data, std::intptr_t byteSize, bool isPreset);

private:
    juce::AudioProcessor& processor;
    std::mutex lock;
    juce::MemoryBlock handedOut;
};

} // namespace veridane::vst2
