#include "wrappers/vst2/ChunkStore.h"

#include <limits>

namespace veridane::vst2
{

ChunkStore::ChunkStore(juce::AudioProcessor& processorToStore) : processor(processorToStore) {}

std::int32_t ChunkStore::get(void** data, bool isPreset)
{
    if (data == nullptr)
        return 0;

    juce::MemoryBlock fresh;
    if (isPreset)
        processor.getCurrentProgramStateInformation(fresh);
    else
        processor.getStateInformation(fresh);

    if (fresh.getSize() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()))
    {
        *data = nullptr;
        return 0;
    }

    const std::lock_guard<std::mutex> hold(lock);
    handedOut.swapWith(fresh);
    *data = handedOut.getData();
    return static_cast<std::int32_t>(handedOut.getSize());
}

std::int32_t ChunkStore::set(const void* data, std::intptr_t byteSize, bool isPreset)
{
    if (data == nullptr || byteSize <= 0 || byteSize > std::numeric_limits<std::int32_t>::max())
        return 0;

    const auto size = static_cast<int>(byteSize);
    if (isPreset)
        processor.setCurrentProgramStateInformation(data, size);
    else
        processor.setStateInformation(data, size);
    return 1;
}

} // namespace veridane::vst2
