#include "hosts/aax/chunks/AAX_CChunkDataParser.h"

#include "hosts/aax/entry/AAX_HostServices.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <exception>
#include <limits>
#include <string>

namespace
{
constexpr uint8_t kMarker[4] = {0x01, 0x01, 0x01, 0x01};
constexpr std::size_t kMarkerSize = sizeof kMarker;
constexpr std::size_t kTagSize = 2;
// Tag, name and zero byte together: what the reader keeps of a longer name.
constexpr std::size_t kMaxTagAndName = 255;
constexpr int32_t kTracePriority = 0x08000000;

constexpr std::size_t roundUpTo4(std::size_t bytes)
{
    return (bytes + 3) & ~std::size_t{3};
}

char tagLetter(int32_t type)
{
    switch (type)
    {
    case AAX_CChunkDataParser::kFloat:
        return 'f';
    case AAX_CChunkDataParser::kInt32:
        return 'l';
    case AAX_CChunkDataParser::kDouble:
        return 'd';
    case AAX_CChunkDataParser::kInt16:
        return 's';
    case AAX_CChunkDataParser::kString:
        return 'r';
    default:
        return 0;
    }
}

/** Bytes the value takes in the data area, padding included; 0 for an entry without one. */
std::size_t valueSize(const AAX_CChunkDataParser::DataValue& value)
{
    switch (value.mDataType)
    {
    case AAX_CChunkDataParser::kFloat:
    case AAX_CChunkDataParser::kInt32:
    case AAX_CChunkDataParser::kInt16:
        return 4;
    case AAX_CChunkDataParser::kDouble:
        return 8;
    case AAX_CChunkDataParser::kString:
        return roundUpTo4(value.mStringValue.Length() + std::size_t{1});
    default:
        return 0;
    }
}

/** Tag, name, zero byte and padding, then the value; entries without a value are not
    written. */
std::size_t entrySize(const AAX_CChunkDataParser::DataValue& value)
{
    if (tagLetter(value.mDataType) == 0)
        return 0;
    return roundUpTo4(kTagSize + value.mDataName.Length() + 1) + valueSize(value);
}

void putBigEndian(uint8_t* out, uint64_t value, std::size_t bytes)
{
    for (std::size_t i = 0; i < bytes; ++i)
        out[i] = static_cast<uint8_t>(value >> (8 * (bytes - 1 - i)));
}

uint64_t getBigEndian(const uint8_t* in, std::size_t bytes)
{
    uint64_t value = 0;
    for (std::size_t i = 0; i < bytes; ++i)
        value = value << 8 | in[i];
    return value;
}

void traceWriterError(const char* message)
{
    AAX_Trace(kTracePriority, "AAX_CChunkDataParser::GetChunkData ERROR: %s", message);
}
} // namespace

void AAX_CChunkDataParser::AddDouble(const char* name, double value)
{
    mDataValues.push_back({kDouble, AAX_CString(name), std::bit_cast<uint64_t>(value), {}});
}

void AAX_CChunkDataParser::AddInt32(const char* name, int32_t value)
{
    // Sign-extended; only the low 32 bits are ever written or read.
    mDataValues.push_back({kInt32, AAX_CString(name), static_cast<uint64_t>(int64_t{value}), {}});
}

void AAX_CChunkDataParser::AddString(const char* name, const AAX_CString& value)
{
    mDataValues.push_back({kString, AAX_CString(name), 0, value});
}

bool AAX_CChunkDataParser::FindDouble(const char* name, double* value)
{
    const DataValue* const found = FindEntry(name, kDouble);
    if (found == nullptr || value == nullptr)
        return false;
    *value = std::bit_cast<double>(found->mIntValue);
    return true;
}

bool AAX_CChunkDataParser::FindInt32(const char* name, int32_t* value)
{
    const DataValue* const found = FindEntry(name, kInt32);
    if (found == nullptr || value == nullptr)
        return false;
    *value = static_cast<int32_t>(static_cast<uint32_t>(found->mIntValue));
    return true;
}

bool AAX_CChunkDataParser::FindString(const char* name, AAX_IString* value)
{
    const DataValue* const found = FindEntry(name, kString);
    if (found == nullptr || value == nullptr)
        return false;
    value->Set(found->mStringValue.Get());
    return true;
}

const AAX_CChunkDataParser::DataValue* AAX_CChunkDataParser::FindEntry(const char* name,
                                                                       int32_t type)
{
    const int32_t index = FindName(AAX_CString(name));
    if (index < 0 || mDataValues[static_cast<std::size_t>(index)].mDataType != type)
        return nullptr;
    return &mDataValues[static_cast<std::size_t>(index)];
}

int32_t AAX_CChunkDataParser::FindName(const AAX_CString& name)
{
    const auto count = static_cast<int32_t>(mDataValues.size());
    if (mLastFoundIndex >= count - 1)
        mLastFoundIndex = -1;
    for (int32_t i = mLastFoundIndex + 1; i < count; ++i)
        if (mDataValues[static_cast<std::size_t>(i)].mDataName == name)
            return mLastFoundIndex = i;
    if (mLastFoundIndex == -1)
        return -1;
    for (int32_t i = 0; i <= mLastFoundIndex; ++i)
        if (mDataValues[static_cast<std::size_t>(i)].mDataName == name)
            return mLastFoundIndex = i;
    return -1;
}

void AAX_CChunkDataParser::Clear()
{
    mLastFoundIndex = -1;
    mChunkVersion = -1;
    mDataValues.clear();
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
    std::size_t size = kMarkerSize;
    for (const auto& value : mDataValues)
    {
        size += entrySize(value);
        if (size > static_cast<std::size_t>(std::numeric_limits<int32_t>::max()))
            return -1;
    }
    return static_cast<int32_t>(size);
}

AAX_Result AAX_CChunkDataParser::GetChunkData(AAX_SPlugInChunk& chunk) const
{
    const int32_t dataSize = GetChunkDataSize();
    if (dataSize < 0)
    {
        traceWriterError("aborting: chunk data will overflow buffer");
        return kChunkWriterOverflow;
    }
    chunk.fSize = dataSize;
    const auto size = static_cast<std::size_t>(dataSize);
    uint8_t* const data = chunk.Data();
    std::memset(data, 0, size);
    std::memcpy(data, kMarker, kMarkerSize);

    std::size_t position = kMarkerSize;
    try
    {
        for (const auto& value : mDataValues)
        {
            const char tag = tagLetter(value.mDataType);
            if (tag == 0)
                continue;
            // The whole entry, padding included, must fit.
            if (position + entrySize(value) > size)
            {
                traceWriterError("aborting: chunk data will overflow buffer");
                return kChunkWriterOverflow;
            }
            data[position] = static_cast<uint8_t>(tag);
            data[position + 1] = '_';
            std::memcpy(data + position + kTagSize, value.mDataName.Get(),
                        value.mDataName.Length());
            position = roundUpTo4(position + kTagSize + value.mDataName.Length() + 1);

            uint8_t* const out = data + position;
            switch (value.mDataType)
            {
            case kString:
                std::memcpy(out, value.mStringValue.Get(), value.mStringValue.Length());
                break;
            case kInt16:
                putBigEndian(out, value.mIntValue, 2);
                break;
            case kDouble:
                putBigEndian(out, value.mIntValue, 8);
                break;
            default:
                putBigEndian(out, value.mIntValue, 4);
                break;
            }
            position += valueSize(value);
        }
    }
    catch (const std::exception& failure)
    {
        traceWriterError(failure.what());
        return kChunkWriterOverflow;
    }
    catch (...)
    {
        return kChunkWriterOverflow;
    }
    return AAX_SUCCESS;
}

void AAX_CChunkDataParser::LoadChunk(const AAX_SPlugInChunk& chunk)
{
    Clear();
    mChunkVersion = chunk.fVersion;
    if (chunk.fSize < static_cast<int32_t>(kMarkerSize) + 1)
        return;
    const uint8_t* const data = chunk.Data();
    const auto end = static_cast<std::size_t>(chunk.fSize);
    if (std::memcmp(data, kMarker, kMarkerSize) != 0)
        return;

    // Zero-terminated text from the position; false when no zero byte comes before the end.
    auto textAt = [&](std::size_t position, std::size_t& length)
    {
        if (position >= end)
            return false;
        const void* const zero = std::memchr(data + position, 0, end - position);
        if (zero == nullptr)
            return false;
        length = static_cast<std::size_t>(static_cast<const uint8_t*>(zero) - (data + position));
        return true;
    };

    std::size_t position = kMarkerSize;
    while (position < end)
    {
        std::size_t tagAndName = 0;
        if (!textAt(position, tagAndName))
            return;
        // A longer name is cut; its value is still found after its own zero byte.
        const std::size_t kept = std::min(tagAndName, kMaxTagAndName - 1);
        DataValue value;
        // A tag shorter than two bytes is an unknown one, with an empty name.
        const char tag = kept >= kTagSize ? static_cast<char>(data[position]) : '\0';
        if (kept >= kTagSize)
            value.mDataName.Set(
                std::string(reinterpret_cast<const char*>(data + position + kTagSize),
                            kept - kTagSize)
                    .c_str());
        position = roundUpTo4(position + tagAndName + 1);

        // A value that runs past the end ends the reading, without a partial entry.
        auto fixed = [&](int32_t type, std::size_t bytes, std::size_t advance)
        {
            if (position + bytes > end)
                return false;
            value.mDataType = type;
            value.mIntValue = getBigEndian(data + position, bytes);
            position += advance;
            return true;
        };
        bool complete = true;
        switch (tag)
        {
        case 'd':
            complete = fixed(kDouble, 8, 8);
            break;
        case 'f':
            complete = fixed(kFloat, 4, 4);
            break;
        case 'l':
            complete = fixed(kInt32, 4, 4);
            break;
        case 's':
            complete = fixed(kInt16, 2, 4);
            break;
        case 'r':
        {
            std::size_t textLength = 0;
            complete = textAt(position, textLength);
            if (complete)
            {
                value.mDataType = kString;
                value.mStringValue.Set(reinterpret_cast<const char*>(data + position));
                position = roundUpTo4(position + textLength + 1);
            }
            break;
        }
        default:
            // Unknown: no value is read; the next tag is looked for right after the name.
            break;
        }
        if (!complete)
            return;
        mDataValues.push_back(std::move(value));
    }
}
