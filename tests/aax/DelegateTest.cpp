#include "hosts/aax/delegates/AAX_CBinaryDisplayDelegate.h"
#include "hosts/aax/delegates/AAX_CBinaryTaperDelegate.h"
#include "hosts/aax/delegates/AAX_CLinearTaperDelegate.h"
#include "hosts/aax/delegates/AAX_CNumberDisplayDelegate.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>

namespace
{
using LinearTaper = AAX_CLinearTaperDelegate<float, 0>;
using BinaryTaper = AAX_CBinaryTaperDelegate<bool>;
using NumberDisplay = AAX_CNumberDisplayDelegate<float, 3u, 0u>;
using BinaryDisplay = AAX_CBinaryDisplayDelegate<bool>;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(TaperDelegates, MapBetweenRealAndNormalizedValues)
{
    const LinearTaper unit(0.0f, 1.0f);
    const LinearTaper wide(-90.0f, 10.0f);
    const BinaryTaper binary;
    struct Row
    {
        const char* name;
        std::function<double()> result;
        double expected;
    };
    // clang-format off
    const Row rows[] = {
        {"linear 1.5 to real", [&] { return unit.NormalizedToReal(1.5); }, 1.0},
        {"linear -0.2 to real", [&] { return unit.NormalizedToReal(-0.2); }, 0.0},
        {"linear 0.9 to real", [&] { return unit.NormalizedToReal(0.9); }, 0.89999997615814209},
        {"linear 0.9f to normalized", [&] { return unit.RealToNormalized(0.9f); }, 0.89999997615814209},
        {"linear 2 to normalized", [&] { return unit.RealToNormalized(2.0f); }, 1.0},
        {"linear 0.25 to normalized", [&] { return unit.RealToNormalized(0.25f); }, 0.25},
        {"linear NaN constrained", [&] { return std::isnan(unit.ConstrainRealValue(NAN)) ? 1 : 0; }, 1},
        {"linear clone", [&] { return std::unique_ptr<AAX_ITaperDelegate<float>>(wide.Clone())->GetMinimumValue(); }, -90.0},
        {"binary 0 to real", [&] { return binary.NormalizedToReal(0.0); }, 0},
        {"binary 0.000001 to real", [&] { return binary.NormalizedToReal(0.000001); }, 1},
        {"binary NaN to real", [&] { return binary.NormalizedToReal(kNaN); }, 0},
        {"binary true to normalized", [&] { return binary.RealToNormalized(true); }, 1.0},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.result(), row.expected);
    }
}

TEST(DisplayDelegates, ConvertBetweenValuesAndTexts)
{
    const NumberDisplay number;
    const BinaryDisplay binary("bypass", "on");
    const std::unique_ptr<AAX_IDisplayDelegate<bool>> binaryClone(binary.Clone());
    using Answer = std::pair<bool, std::string>;
    const auto text = [](const AAX_IDisplayDelegate<float>& d, float value, int32_t limit)
    {
        AAX_CString out("old");
        const bool done = d.ValueToString(value, limit, &out);
        return Answer{done, out.Get()};
    };
    const auto numberOf = [&](const char* input)
    {
        float value = -1.0f;
        const bool read = number.StringToValue(AAX_CString(input), &value);
        char digits[32];
        const auto end = std::to_chars(digits, digits + sizeof digits, static_cast<double>(value));
        return Answer{read, std::string(digits, end.ptr)};
    };
    const auto stateOf = [](const AAX_IDisplayDelegate<bool>& d, const char* input)
    {
        bool value = true;
        const bool read = d.StringToValue(AAX_CString(input), &value);
        return Answer{read, value ? "true" : "false"};
    };
    const auto label = [](const AAX_IDisplayDelegate<bool>& d, bool value, int32_t limit)
    {
        AAX_CString out;
        const bool done = d.ValueToString(value, limit, &out);
        return Answer{done, out.Get()};
    };
    struct Row
    {
        const char* name;
        std::function<Answer()> result;
        Answer expected;
    };
    // clang-format off
    const Row rows[] = {
        {"0.5", [&] { return text(number, 0.5f, 10); }, {true, "0.500"}},
        {"0.5 at 5", [&] { return text(number, 0.5f, 5); }, {true, "0.500"}},
        {"0.5 at 4", [&] { return text(number, 0.5f, 4); }, {true, "0.50"}},
        {"0.5 at 3", [&] { return text(number, 0.5f, 3); }, {true, "0.5"}},
        {"0.5 at 2", [&] { return text(number, 0.5f, 2); }, {true, "0"}},
        {"0.5 at 1", [&] { return text(number, 0.5f, 1); }, {true, "0"}},
        {"0.5 at 0", [&] { return text(number, 0.5f, 0); }, {true, ""}},
        {"0.5 at -1", [&] { return text(number, 0.5f, -1); }, {true, ""}},
        {"123.456 at 4", [&] { return text(number, 123.456f, 4); }, {true, "123"}},
        {"123.456 at 3", [&] { return text(number, 123.456f, 3); }, {true, "123"}},
        {"12.5 at 3", [&] { return text(number, 12.5f, 3); }, {true, "12"}},
        {"read 0.75abc", [&] { return numberOf("0.75abc"); }, {true, "0.75"}},
        {"read 0.1 as float", [&] { return numberOf("0.1"); }, {true, "0.10000000149011612"}},
        {"read empty", [&] { return numberOf(""); }, {false, "0"}},
        {"true", [&] { return label(binary, true, 10); }, {true, "on"}},
        {"false", [&] { return label(binary, false, 10); }, {true, "bypass"}},
        {"false at 1", [&] { return label(binary, false, 1); }, {true, "bypass"}},
        {"clone's true", [&] { return label(*binaryClone, true, 1); }, {true, "on"}},
        {"read on", [&] { return stateOf(binary, "on"); }, {true, "true"}},
        {"read bypass", [&] { return stateOf(binary, "bypass"); }, {true, "false"}},
        {"read On", [&] { return stateOf(binary, "On"); }, {false, "false"}},
        {"clone reads bypass", [&] { return stateOf(*binaryClone, "bypass"); }, {true, "false"}},
        {"null texts", [&] { return label(BinaryDisplay(nullptr, nullptr), true, 3); }, {true, ""}},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.result(), row.expected);
    }
}
} // namespace
