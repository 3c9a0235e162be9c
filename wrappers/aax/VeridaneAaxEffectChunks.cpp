// The 'juce' chunk beside the base's parameter chunk: the processor's state block, as it is.
#include "wrappers/aax/VeridaneAaxEffect.h"

#include "hosts/aax/component/GuardedCall.h"

#include <cstring>

namespace veridane::aax
{

AAX_Result VeridaneAaxEffect::GetNumberOfChunks(int32_t* count) const
{
    const AAX_Result counted = AAX_CEffectParameters::GetNumberOfChunks(count);
    if (counted == AAX_SUCCESS)
        ++*count;
    return counted;
}

AAX_Result VeridaneAaxEffect::GetChunkIDFromIndex(int32_t index, AAX_CTypeID* chunkID) const
{
    if (index != stateChunkIndex || chunkID == nullptr)
        return AAX_CEffectParameters::GetChunkIDFromIndex(index, chunkID);
    *chunkID = kStateChunkID;
    return AAX_SUCCESS;
}

AAX_Result VeridaneAaxEffect::GetChunkSize(AAX_CTypeID chunkID, uint32_t* size)
{
    if (chunkID != kStateChunkID)
        return AAX_CEffectParameters::GetChunkSize(chunkID, size);
    if (size == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall(
        [&]() -> AAX_Result
        {
            juce::MemoryBlock state;
            processor->getStateInformation(state);
            const std::lock_guard<std::mutex> hold(stateChunkLock);
            // The host sizes its record by this answer: GetChunk hands out this very state.
            stateChunk = std::move(state);
            *size = uint32_t(stateChunk.getSize());
            return AAX_SUCCESS;
        });
}

AAX_Result VeridaneAaxEffect::GetChunk(AAX_CTypeID chunkID, AAX_SPlugInChunk* chunk)
{
    if (chunkID != kStateChunkID)
        return AAX_CEffectParameters::GetChunk(chunkID, chunk);
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    const std::lock_guard<std::mutex> hold(stateChunkLock);
    if (stateChunk.isEmpty())
        return AAX_ERROR_INCORRECT_CHUNK_SIZE;
    // The host's identity fields stay as it filled them, as in the parameter chunk.
    chunk->fSize = int32_t(stateChunk.getSize());
    chunk->fVersion = 0;
    std::memset(chunk->fName, 0, sizeof chunk->fName);
    std::memcpy(chunk->Data(), stateChunk.getData(), stateChunk.getSize());
    return AAX_SUCCESS;
}

AAX_Result VeridaneAaxEffect::SetChunk(AAX_CTypeID chunkID, const AAX_SPlugInChunk* chunk)
{
    if (chunkID != kStateChunkID)
        return AAX_CEffectParameters::SetChunk(chunkID, chunk);
    if (chunk == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall(
        [&]() -> AAX_Result
        {
            // The processor ignores what it cannot read, so its state is never lost.
            if (chunk->fSize > 0)
                processor->setStateInformation(chunk->Data(), chunk->fSize);
            requestRestoredValues();
            return AAX_SUCCESS;
        });
}

} // namespace veridane::aax
