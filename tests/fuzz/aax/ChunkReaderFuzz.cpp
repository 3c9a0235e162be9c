// The parameter chunk reader on any data area, in a record of exactly its size: it must stay
// inside the record, and what it reads of the types the effect writes must read back the same
// after writing.
#include "hosts/aax/chunks/AAX_CChunkDataParser.h"

#include <bit>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace
{
using Parser = AAX_CChunkDataParser;

std::unique_ptr<uint8_t[]> makeRecord(const uint8_t* data, std::size_t size)
{
    auto record = std::make_unique<uint8_t[]>(sizeof(AAX_SPlugInChunk) + size);
    reinterpret_cast<AAX_SPlugInChunk*>(record.get())->fSize = static_cast<int32_t>(size);
    if (data != nullptr && size != 0)
        std::memcpy(record.get() + sizeof(AAX_SPlugInChunk), data, size);
    return record;
}

void load(Parser& parser, const std::unique_ptr<uint8_t[]>& record)
{
    parser.LoadChunk(*reinterpret_cast<const AAX_SPlugInChunk*>(record.get()));
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size)
{
    Parser read;
    load(read, makeRecord(data, size));

    Parser written;
    for (const auto& value : read.GetDataValues())
    {
        const char* const name = value.mDataName.Get();
        if (value.mDataType == Parser::kInt32)
            written.AddInt32(name, static_cast<int32_t>(value.mIntValue));
        else if (value.mDataType == Parser::kDouble)
            written.AddDouble(name, std::bit_cast<double>(value.mIntValue));
        else if (value.mDataType == Parser::kString)
            written.AddString(name, value.mStringValue);
    }
    const int32_t writtenSize = written.GetChunkDataSize();
    const auto record = makeRecord(nullptr, static_cast<std::size_t>(writtenSize));
    if (written.GetChunkData(*reinterpret_cast<AAX_SPlugInChunk*>(record.get())) != 0)
        std::abort();
    Parser reread;
    load(reread, record);
    const auto& expected = written.GetDataValues();
    const auto& actual = reread.GetDataValues();
    if (actual.size() != expected.size())
        std::abort();
    for (std::size_t i = 0; i < actual.size(); ++i)
        if (actual[i].mDataType != expected[i].mDataType ||
            actual[i].mDataName != expected[i].mDataName ||
            static_cast<uint32_t>(actual[i].mIntValue) !=
                static_cast<uint32_t>(expected[i].mIntValue) ||
            (actual[i].mIntValue >> 32 != expected[i].mIntValue >> 32 &&
             actual[i].mDataType == Parser::kDouble) ||
            actual[i].mStringValue != expected[i].mStringValue)
            std::abort();
    return 0;
}
