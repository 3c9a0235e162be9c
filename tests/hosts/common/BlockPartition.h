#pragma once

#include <cstdint>
#include <string>
#include <vector>

/** The block lengths a render is cut into: a list such as "1,512,10000", used in turn and
    repeated until the signal ends (the last block is cut short). */
class BlockPartition
{
public:
    explicit BlockPartition(const std::string& list);

    /** Length of the next block, at most remaining frames. */
    int32_t next(int64_t remaining);
    int32_t largest() const;

private:
    std::vector<int32_t> lengths;
    size_t position = 0;
};
