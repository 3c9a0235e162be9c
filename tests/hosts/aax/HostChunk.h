// A chunk record as the host allocates it: a 56-byte header in the host's byte order and exactly
// the data size after it, on the heap, so that a read past the end shows under AddressSanitizer.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace fakeaax
{
class HostChunk
{
public:
    static constexpr std::size_t kHeaderSize = 56;

    /** A zeroed record with room for `dataSize` bytes and that size in its size field. */
    explicit HostChunk(uint32_t dataSize);
    /** A record of exactly this data, its size in the size field. */
    explicit HostChunk(const std::vector<uint8_t>& data);

    void* record() { return mBytes.get(); }
    uint8_t* data() { return mBytes.get() + kHeaderSize; }
    /** The whole record. */
    std::vector<uint8_t> bytes() const;

    int32_t sizeField() const { return field(0); }
    void setSizeField(int32_t size) { setField(0, size); }
    uint32_t chunkID() const { return static_cast<uint32_t>(field(20)); }
    void setChunkID(uint32_t id) { setField(20, static_cast<int32_t>(id)); }

private:
    int32_t field(std::size_t offset) const;
    void setField(std::size_t offset, int32_t value);

    std::size_t mLength;
    std::unique_ptr<uint8_t[]> mBytes;
};
} // namespace fakeaax
