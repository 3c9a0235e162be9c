#include "hosts/audio_unit/AUSavedParameters.h"

#include "hosts/audio_unit/AUBase.h"
#include "hosts/audio_unit/AUStatus.h"
#include "hosts/audio_unit/CFAdditions.h"

#include <cstdint>

namespace
{
constexpr size_t kWordBytes = 4;
constexpr size_t kRecordHeaderBytes = 3 * kWordBytes;
constexpr size_t kPairBytes = 2 * kWordBytes;

/** The length of the record at `record`, or 0 when its header or pairs run past `end`. */
size_t WholeRecordLength(const UInt8* record, const UInt8* end)
{
    const size_t available = size_t(end - record);
    if (available < kRecordHeaderBytes)
        return 0;
    const uint64_t count = ReadBigEndianWord(record + 2 * kWordBytes);
    const uint64_t length = kRecordHeaderBytes + count * kPairBytes;
    return length <= available ? size_t(length) : 0;
}
} // namespace

void AppendBigEndianWords(CFMutableDataRef data, std::initializer_list<UInt32> words)
{
    UInt8 bytes[4 * kWordBytes];
    size_t length = 0;
    for (const UInt32 word : words)
    {
        if (length == sizeof bytes)
            break;
        bytes[length++] = UInt8(word >> 24);
        bytes[length++] = UInt8(word >> 16);
        bytes[length++] = UInt8(word >> 8);
        bytes[length++] = UInt8(word);
    }
    AppendAllBytes(data, bytes, CFIndex(length));
}

UInt32 ReadBigEndianWord(const UInt8* bytes)
{
    return (UInt32(bytes[0]) << 24) | (UInt32(bytes[1]) << 16) | (UInt32(bytes[2]) << 8) |
           UInt32(bytes[3]);
}

bool AreWholeParameterRecords(const UInt8* data, size_t length)
{
    if (data == nullptr)
        return length == 0;
    const UInt8* const end = data + length;
    for (const UInt8* record = data; record != end;)
    {
        const size_t recordLength = WholeRecordLength(record, end);
        if (recordLength == 0)
            return false;
        record += recordLength;
    }
    return true;
}

void RestoreParameterRecords(AUBase& unit, const UInt8* data, size_t length)
{
    if (!AreWholeParameterRecords(data, length))
        ThrowStatus(kAudioUnitErr_InvalidPropertyValue);
    const UInt8* const end = data + length;
    for (const UInt8* record = data; record != end; record += WholeRecordLength(record, end))
        (void)unit.GetScope(ReadBigEndianWord(record));
    for (const UInt8* record = data; record != end;)
        record = unit.GetScope(ReadBigEndianWord(record)).RestoreState(record + kWordBytes, end);
}
