// The data for one field of the algorithm's context, filled from a parameter and posted to the
// host.
#pragma once

#include <cstdint>
#include <vector>

class AAX_CPacket
{
public:
    /** Dirty, carrying nothing yet, with room for 8 bytes. */
    explicit AAX_CPacket(int32_t fieldIndex);

    AAX_CPacket(const AAX_CPacket&) = delete;
    AAX_CPacket& operator=(const AAX_CPacket&) = delete;

    /** The algorithm's field that receives the packet. */
    int32_t GetID() const { return mFieldIndex; }
    bool IsDirty() const { return mDirty; }
    void SetDirty(bool dirty) { mDirty = dirty; }
    /** The number of bytes posted. */
    uint32_t GetDataSize() const { return mDataSize; }
    const uint8_t* GetData() const { return mData.data(); }

    /** Makes the packet carry `size` bytes (added ones are zero) and answers where they start.
        Within 8 bytes this never allocates. */
    uint8_t* ResizeData(uint32_t size);

private:
    friend class AAX_CPacketDispatcher;

    int32_t mFieldIndex;
    bool mDirty = true;
    uint32_t mDataSize = 0;
    std::vector<uint8_t> mData;
    // Set during a dispatch whose post of this packet failed, so that it goes out again.
    bool mPostFailed = false;
};
