#include "tests/hosts/aax/HostChunk.h"

#include <algorithm>

namespace fakeaax
{
HostChunk::HostChunk(uint32_t dataSize)
    : mLength(kHeaderSize + dataSize), mBytes(std::make_unique<uint8_t[]>(mLength))
{
    std::memcpy(mBytes.get(), &dataSize, sizeof dataSize);
}

HostChunk::HostChunk(const std::vector<uint8_t>& data)
    : HostChunk(static_cast<uint32_t>(data.size()))
{
    std::copy(data.begin(), data.end(), this->data());
}
} // namespace fakeaax
