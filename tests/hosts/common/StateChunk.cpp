#include "tests/hosts/common/StateChunk.h"

namespace
{
constexpr uint32_t kStateMagic = 0x21324356;
constexpr size_t kHeaderSize = 8;

void appendLittleEndian(std::vector<uint8_t>& bytes, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        bytes.push_back(uint8_t(value >> shift));
}

uint32_t readLittleEndian(const std::vector<uint8_t>& bytes, size_t offset)
{
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | bytes[offset + size_t(i)];
    return value;
}
} // namespace

std::vector<uint8_t> makeStateBlock(const std::optional<std::string>& gainText,
                                    const std::optional<std::string>& directionText)
{
    std::string xml = "<Root>";
    if (gainText)
        xml += "<Gain>" + *gainText + "</Gain>";
    if (directionText)
        xml += "<idxInputConfig>" + *directionText + "</idxInputConfig>";
    xml += "</Root>";

    std::vector<uint8_t> block;
    appendLittleEndian(block, kStateMagic);
    appendLittleEndian(block, uint32_t(xml.size()));
    block.insert(block.end(), xml.begin(), xml.end());
    block.push_back(0);
    return block;
}

std::optional<std::string> stateBlockText(const std::vector<uint8_t>& block)
{
    if (block.size() <= kHeaderSize || readLittleEndian(block, 0) != kStateMagic)
        return std::nullopt;
    const size_t length = readLittleEndian(block, 4);
    if (length > block.size() - kHeaderSize)
        return std::nullopt;
    return std::string(block.begin() + kHeaderSize, block.begin() + long(kHeaderSize + length));
}
