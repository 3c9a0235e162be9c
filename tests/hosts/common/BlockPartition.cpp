#include "tests/hosts/common/BlockPartition.h"

#include "tests/hosts/common/Arguments.h"

#include <algorithm>
#include <sstream>

namespace
{
/** Longer than any block a host sends, short enough to keep buffers small. */
constexpr long kMaxBlock = 1 << 20;
} // namespace

BlockPartition::BlockPartition(const std::string& list)
{
    std::stringstream stream(list);
    std::string item;
    while (std::getline(stream, item, ','))
    {
        const long length = parseInteger(item, "block length");
        if (length < 1 || length > kMaxBlock)
            throw UsageError("block lengths run from 1 to " + std::to_string(kMaxBlock));
        lengths.push_back(int32_t(length));
    }
    if (lengths.empty())
        throw UsageError("empty block list");
}

int32_t BlockPartition::next(int64_t remaining)
{
    const int32_t length = lengths[position];
    position = (position + 1) % lengths.size();
    return int32_t(std::min<int64_t>(length, remaining));
}

int32_t BlockPartition::largest() const
{
    return *std::max_element(lengths.begin(), lengths.end());
}
