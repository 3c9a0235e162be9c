// The parameter chunk reader on any data area, in a record of exactly its size: it must stay
// inside the record, and whatever it reads of the types the effect writes must survive being
// written and read again.
#include "hosts/aax/chunks/AAX_CChunkDataParser.h"

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace
{
std::unique_ptr<uint8_t[]> makeRecord(const uint8_t* data, std::size_t size)
{
    auto record = std::make_unique<uint8_t[]>(sizeof(AAX_SPlugInChunk) + size);
    auto* const chunk = reinterpret_cast<AAX_SPlugInChunk*>(record.get());
    chunk->fSize = static_cast<int32_t>(size);
    chunk->fChunkID = 0x656C636B;
    if (data != nullptr && size != 0)
        std::memcpy(chunk->Data(), data, size);
    return record;
}

bool sameEntry(const AAX_CChunkDataParser::DataValue& a, const AAX_CChunkDataParser::DataValue& b)
{
    const uint64_t mask = a.mDataType == AAX_CChunkDataParser::kDouble ? ~uint64_t{0} : 0xFFFFFFFF;
    return a.mDataType == b.mDataType && a.mDataName == b.mDataName &&
           (a.mIntValue & mask) == (b.mIntValue & mask) && a.mStringValue == b.mStringValue;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    if (size > (1u << 20))
        return 0;
    const auto record = makeRecord(data, size);
    AAX_CChunkDataParser parser;
    parser.LoadChunk(*reinterpret_cast<const AAX_SPlugInChunk*>(record.get()));

    AAX_CChunkDataParser rewritten;
    std::vector<AAX_CChunkDataParser::DataValue> kept;
    for (const auto& value : parser.GetDataValues())
    {
        switch (value.mDataType)
        {
        case AAX_CChunkDataParser::kInt32:
            rewritten.AddInt32(value.mDataName.Get(), static_cast<int32_t>(value.mIntValue));
            break;
        case AAX_CChunkDataParser::kDouble:
        {
            double wide = 0.0;
            std::memcpy(&wide, &value.mIntValue, sizeof wide);
            rewritten.AddDouble(value.mDataName.Get(), wide);
            break;
        }
        case AAX_CChunkDataParser::kString:
            rewritten.AddString(value.mDataName.Get(), value.mStringValue);
            break;
        default:
            continue;
        }
        kept.push_back(value);
    }

    const int32_t rewrittenSize = rewritten.GetChunkDataSize();
    if (rewrittenSize < 4)
        std::abort();
    const auto second = makeRecord(nullptr, static_cast<std::size_t>(rewrittenSize));
    auto* const chunk = reinterpret_cast<AAX_SPlugInChunk*>(second.get());
    chunk->fSize = 0;
    if (rewritten.GetChunkData(*chunk) != 0 || chunk->fSize != rewrittenSize)
        std::abort();
    AAX_CChunkDataParser reread;
    reread.LoadChunk(*chunk);
    const auto& values = reread.GetDataValues();
    if (values.size() != kept.size())
        std::abort();
    for (std::size_t i = 0; i < kept.size(); ++i)
        if (!sameEntry(values[i], kept[i]))
            std::abort();
    return 0;
}
