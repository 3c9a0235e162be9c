// A chunk record as the host allocates it: a 56-byte header in the host's byte order and exactly
// the data size after it, on the heap, so that a read past the end shows under AddressSanitizer.
#pragma once

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace fakeaax
{
class HostChunk
{
public:
    static constexpr std::size_t kHeaderSize = 56;
    static constexpr std::size_t kChunkIDOffset = 20;

    /** A zeroed record with room for `dataSize` bytes and that size in its size field. */
    explicit HostChunk(uint32_t dataSize);
    /** A record of exactly this data, its size in the size field. */
    explicit HostChunk(const std::vector<uint8_t>& data);

    void* record() { return mBytes.get(); }
    uint8_t* data() { return mBytes.get() + kHeaderSize; }
    /** The whole record. */
    std::vector<uint8_t> bytes() const { return {mBytes.get(), mBytes.get() + mLength}; }
    void setChunkID(uint32_t id) { std::memcpy(mBytes.get() + kChunkIDOffset, &id, sizeof id); }

private:
    std::size_t mLength;
    std::unique_ptr<uint8_t[]> mBytes;
};
} // namespace fakeaax
