#include "hosts/aax/packets/AAX_CPacket.h"

namespace
{
constexpr std::size_t kInitialRoom = 8;
}

AAX_CPacket::AAX_CPacket(int32_t fieldIndex) : mFieldIndex(fieldIndex), mData(kInitialRoom, 0) {}

uint8_t* AAX_CPacket::ResizeData(uint32_t size)
{
    mDataSize = size;
    mData.resize(size);
    return mData.data();
}
