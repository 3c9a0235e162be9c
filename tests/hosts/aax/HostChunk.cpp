#include "tests/hosts/aax/HostChunk.h"

#include <algorithm>
#include <cstring>

namespace fakeaax
{
HostChunk::HostChunk(uint32_t dataSize)
    : mLength(kHeaderSize + dataSize), mBytes(std::make_unique<uint8_t[]>(mLength))
{
    setSizeField(static_cast<int32_t>(dataSize));
}

HostChunk::HostChunk(const std::vector<uint8_t>& data)
    : HostChunk(static_cast<uint32_t>(data.size()))
{
    std::copy(data.begin(), data.end(), this->data());
}

std::vector<uint8_t> HostChunk::bytes() const
{
    return {mBytes.get(), mBytes.get() + mLength};
}

int32_t HostChunk::field(std::size_t offset) const
{
    int32_t value = 0;
    std::memcpy(&value, mBytes.get() + offset, sizeof value);
    return value;
}

void HostChunk::setField(std::size_t offset, int32_t value)
{
    std::memcpy(mBytes.get() + offset, &value, sizeof value);
}
} // namespace fakeaax
