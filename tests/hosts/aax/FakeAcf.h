// The fake AAX host's own declarations of the host component model: identifiers and result
// codes, written apart from the library's headers so that a wrong number on either side shows.
#pragma once

#include <array>
#include <compare>
#include <cstdint>
#include <string>
#include <string_view>

namespace fakeaax
{
struct Guid
{
    uint32_t data1;
    uint16_t data2;
    uint16_t data3;
    std::array<uint8_t, 8> data4;

    auto operator<=>(const Guid&) const = default;
};

/** The identifier the host publishes under this name ("CollectionV1", "ComponentFactory"...);
    throws std::out_of_range for a name it does not know. */
const Guid& guid(std::string_view name);
/** The name of a known identifier, or its text form. */
std::string guidName(const Guid& id);

constexpr int32_t kSuccess = 0;
constexpr int32_t kNullObject = -20004;
constexpr int32_t kIncorrectChunkSize = -20008;
constexpr int32_t kUnimplemented = -20009;
constexpr int32_t kNotInitialized = -20011;
constexpr int32_t kNoInterface = static_cast<int32_t>(0x80000004);
constexpr int32_t kUnexpected = static_cast<int32_t>(0x8000FFFF);

/** The view size as the host takes it: height, then width. */
struct ViewSize
{
    float height;
    float width;
};
} // namespace fakeaax
