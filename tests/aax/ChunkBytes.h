// The parameter chunk's data area written by hand: a plain reference for the tests, kept apart
// from the library's writer.
#pragma once

#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace chunkbytes
{
using Bytes = std::vector<uint8_t>;

inline Bytes marker()
{
    return {1, 1, 1, 1};
}

inline void padTo4(Bytes& bytes)
{
    while (bytes.size() % 4 != 0)
        bytes.push_back(0);
}

inline Bytes tagAndName(char type, const std::string& name)
{
    Bytes bytes{static_cast<uint8_t>(type), '_'};
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.push_back(0);
    padTo4(bytes);
    return bytes;
}

inline Bytes bigEndian(Bytes bytes, uint64_t value, int count)
{
    for (int i = count - 1; i >= 0; --i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    return bytes;
}

inline Bytes d(const std::string& name, double value)
{
    return bigEndian(tagAndName('d', name), std::bit_cast<uint64_t>(value), 8);
}
inline Bytes l(const std::string& name, int32_t value)
{
    return bigEndian(tagAndName('l', name), static_cast<uint32_t>(value), 4);
}
inline Bytes f(const std::string& name, float value)
{
    return bigEndian(tagAndName('f', name), std::bit_cast<uint32_t>(value), 4);
}
inline Bytes s(const std::string& name, int16_t value)
{
    Bytes bytes = bigEndian(tagAndName('s', name), static_cast<uint16_t>(value), 2);
    bytes.insert(bytes.end(), {0, 0});
    return bytes;
}
inline Bytes r(const std::string& name, const std::string& text)
{
    Bytes bytes = tagAndName('r', name);
    bytes.insert(bytes.end(), text.begin(), text.end());
    bytes.push_back(0);
    padTo4(bytes);
    return bytes;
}

/** The pieces one after the other. */
inline Bytes join(std::initializer_list<Bytes> pieces)
{
    Bytes all;
    for (const auto& piece : pieces)
        all.insert(all.end(), piece.begin(), piece.end());
    return all;
}
} // namespace chunkbytes
