#include "hosts/aax/chunks/AAX_CChunkDataParser.h"
#include "tests/aax/ChunkBytes.h"
#include "tests/hosts/aax/HostChunk.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <random>

using namespace chunkbytes;
using fakeaax::HostChunk;
using Strings = std::vector<std::string>;

namespace
{
/** "type name value": the value as the hexadecimal of the bits its type keeps, a text as
    itself. */
Strings describe(const AAX_CChunkDataParser& parser)
{
    Strings entries;
    for (const auto& value : parser.GetDataValues())
    {
        const uint64_t kept = value.mDataType == 3   ? value.mIntValue
                              : value.mDataType == 4 ? value.mIntValue & 0xFFFF
                                                     : value.mIntValue & 0xFFFFFFFF;
        char bits[24];
        std::snprintf(bits, sizeof bits, "%llX", static_cast<unsigned long long>(kept));
        entries.push_back(std::to_string(value.mDataType) + " " + value.mDataName.Get() + " " +
                          (value.mDataType == 5 ? value.mStringValue.Get() : bits));
    }
    return entries;
}

Strings read(const Bytes& data)
{
    HostChunk chunk(data);
    AAX_CChunkDataParser parser;
    parser.LoadChunk(*static_cast<const AAX_SPlugInChunk*>(chunk.record()));
    return describe(parser);
}

// Random entries of the three types the effect writes, names drawn from a small set so that
// they repeat: the writer matches the plain encoding byte for byte and the reader gives every
// entry back in order.
TEST(ChunkFormat, RandomEntriesSurviveWritingAndReading)
{
    std::mt19937 random(20240601);
    const std::string names[] = {"", "0", "ab", "abc", "MasterBypassID", "a\x01z"};
    auto text = [&]
    {
        std::string chosen(random() % 9, 'x');
        for (auto& c : chosen)
            c = static_cast<char>('a' + random() % 26);
        return chosen;
    };
    for (int round = 0; round < 300; ++round)
    {
        SCOPED_TRACE("round " + std::to_string(round));
        AAX_CChunkDataParser written;
        Bytes expected = marker();
        Strings entries;
        const int count = static_cast<int>(random() % 8);
        for (int i = 0; i < count; ++i)
        {
            const std::string& name = names[random() % std::size(names)];
            switch (random() % 3)
            {
            case 0:
            {
                const double value = std::bit_cast<double>(uint64_t{random()} << 32 | random());
                written.AddDouble(name.c_str(), value);
                expected = join({expected, d(name, value)});
                break;
            }
            case 1:
            {
                const auto value = static_cast<int32_t>(random());
                written.AddInt32(name.c_str(), value);
                expected = join({expected, l(name, value)});
                break;
            }
            default:
            {
                const std::string value = text();
                written.AddString(name.c_str(), AAX_CString(value.c_str()));
                expected = join({expected, r(name, value)});
                break;
            }
            }
        }
        ASSERT_EQ(written.GetChunkDataSize(), static_cast<int32_t>(expected.size()));
        HostChunk chunk(static_cast<uint32_t>(expected.size()));
        auto* const record = static_cast<AAX_SPlugInChunk*>(chunk.record());
        record->fSize = 0;
        ASSERT_EQ(written.GetChunkData(*record), 0);
        EXPECT_EQ(record->fSize, static_cast<int32_t>(expected.size()));
        EXPECT_EQ(Bytes(chunk.data(), chunk.data() + expected.size()), expected);

        EXPECT_EQ(read(expected), describe(written));
    }
}

TEST(ChunkFormat, HandMadeChunksReadWithinTheirData)
{
    const std::string longName(300, 'n');
    struct Row
    {
        const char* name;
        Bytes data;
        Strings entries;
    };
    const Row rows[] = {
        {"float and 16-bit entries",
         join({marker(), f("g", 0.5f), s("abc", 0x1234), l("n", 7)}),
         {"1 g 3F000000", "4 abc 1234", "2 n 7"}},
        {"texts of three and four characters",
         join({marker(), r("t", "abc"), r("u", "abcd"), l("n", 1)}),
         {"5 t abc", "5 u abcd", "2 n 1"}},
        {"unknown tag: no value read",
         join({marker(), Bytes{'x', '_', 'q', 0}, l("n", 1)}),
         {"0 q 0", "2 n 1"}},
        {"tag shorter than two bytes",
         join({marker(), Bytes{'d', 0, 0, 0}, l("n", 1)}),
         {"0  0", "2 n 1"}},
        {"long name cut, value still found",
         join({marker(), d(longName, 1.0), l("n", 1)}),
         {"3 " + longName.substr(0, 252) + " 3FF0000000000000", "2 n 1"}},
        {"marker only", marker(), {}},
        {"no marker", join({Bytes{1, 1, 1, 2}, l("n", 1)}), {}},
        {"name without a terminator",
         join({marker(), l("n", 1), Bytes{'l', '_', 'a', 'b'}}),
         {"2 n 1"}},
        {"double cut short", join({marker(), Bytes{'d', '_', 'x', 0, 0x3F, 0xF0}}), {}},
        {"text without a terminator", join({marker(), Bytes{'r', '_', 't', 0, 'a', 'b'}}), {}},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(read(row.data), row.entries);
    }
}

// Every prefix of a valid chunk, in a record of exactly that size: the reader stays inside it
// (AddressSanitizer watches) and gives a prefix of the complete entries.
TEST(ChunkFormat, EveryTruncationReadsAPrefixOfTheEntries)
{
    const Bytes full = join({marker(), d("0", 0.9), l("MasterBypassID", 1), r("text", "abcd"),
                             f("f", 0.5f), s("s", -2), Bytes{'x', '_', 0, 0}, l("n", 3)});
    const Strings complete = read(full);
    ASSERT_EQ(complete.size(), 7u);
    for (std::size_t n = 0; n <= full.size(); ++n)
    {
        SCOPED_TRACE("data size " + std::to_string(n));
        const Strings entries = read(Bytes(full.begin(), full.begin() + static_cast<long>(n)));
        ASSERT_LE(entries.size(), complete.size());
        EXPECT_TRUE(std::equal(entries.begin(), entries.end(), complete.begin()));
    }
}

// Lookups continue after the last hit and wrap round; an entry of another type is not found.
TEST(ChunkFormat, LookupsWrapRoundAndCheckTheType)
{
    HostChunk chunk(join({marker(), d("a", 1.0), l("b", 2), d("a", 3.0), r("c", "t")}));
    AAX_CChunkDataParser parser;
    parser.LoadChunk(*static_cast<const AAX_SPlugInChunk*>(chunk.record()));
    double value = 0.0;
    int32_t integer = 0;
    AAX_CString text;
    std::string seen;
    for (int i = 0; i < 3; ++i)
        seen +=
            (parser.FindDouble("a", &value) ? std::to_string(static_cast<int>(value)) : "-") + " ";
    seen += std::to_string(parser.FindDouble("b", &value)) +
            std::to_string(parser.FindInt32("c", &integer)) +
            std::to_string(parser.FindDouble("z", &value)) + " ";
    seen += std::to_string(parser.FindInt32("b", &integer));
    seen += std::to_string(integer);
    seen += std::to_string(parser.FindString("c", &text));
    seen += text.Get();
    EXPECT_EQ(seen, "1 3 1 000 121t");
    EXPECT_EQ(value, 1.0) << "a failed lookup wrote its output";
}
} // namespace
