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

/** The pieces one after the other. */
inline Bytes join(std::initializer_list<Bytes> pieces)
{
    Bytes all;
    for (const auto& piece : pieces)
        all.insert(all.end(), piece.begin(), piece.end());
    return all;
}

/** The text, a zero byte, then zero bytes up to a multiple of 4. */
inline Bytes padded(const std::string& text)
{
    Bytes bytes(text.begin(), text.end());
    bytes.resize((text.size() + 4) / 4 * 4, 0);
    return bytes;
}

/** Tag and name, then the value's low `count` bytes big-endian and `pad` zero bytes. */
inline Bytes entry(char type, const std::string& name, uint64_t value, int count, int pad = 0)
{
    Bytes bytes = padded(std::string{type, '_'} + name);
    for (int i = count - 1; i >= 0; --i)
        bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
    bytes.insert(bytes.end(), static_cast<std::size_t>(pad), 0);
    return bytes;
}

inline Bytes marker()
{
    return {1, 1, 1, 1};
}
inline Bytes d(const std::string& name, double v)
{
    return entry('d', name, std::bit_cast<uint64_t>(v), 8);
}
inline Bytes l(const std::string& name, int32_t v)
{
    return entry('l', name, static_cast<uint32_t>(v), 4);
}
inline Bytes f(const std::string& name, float v)
{
    return entry('f', name, std::bit_cast<uint32_t>(v), 4);
}
inline Bytes s(const std::string& name, int16_t v)
{
    return entry('s', name, static_cast<uint16_t>(v), 2, 2);
}
inline Bytes r(const std::string& name, const std::string& text)
{
    return join({padded(std::string{'r', '_'} + name), padded(text)});
}
} // namespace chunkbytes
