#include "hosts/aax/text/AAX_CString.h"
#include "tests/hosts/aax/HostString.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>

namespace
{
AAX_IString& asInterface(fakeaax::HostString& string)
{
    return *static_cast<AAX_IString*>(string.asInterface());
}

// Text taken from anywhere, null and host strings included, and positions past the end.
TEST(AAX_CString, TakesAnyTextAndClampsPositions)
{
    struct Row
    {
        const char* name;
        std::function<std::string()> result;
        std::string expected;
    };
    // clang-format off
    const Row rows[] = {
        {"null text", [] { return std::string(AAX_CString(nullptr).Get()); }, ""},
        {"Set to null", [] { AAX_CString s("x"); s.Set(nullptr); return std::string(s.Get()); }, ""},
        {"from a host string", [] { fakeaax::HostString h("abc"); return std::string(AAX_CString(asInterface(h)).Get()); }, "abc"},
        {"from a host string answering null", [] { fakeaax::HostString h("abc"); h.answerNull(); return std::string(AAX_CString(asInterface(h)).Get()); }, ""},
        {"assigned a host string answering null", [] { fakeaax::HostString h; h.answerNull(); AAX_CString s("x"); s = asInterface(h); return std::string(s.Get()); }, ""},
        {"erase past the end", [] { return std::string(AAX_CString("abcdef").Erase(4, 100).Get()); }, "abcd"},
        {"erase from past the end", [] { return std::string(AAX_CString("abc").Erase(7, 1).Get()); }, "abc"},
        {"substring longer than the text", [] { fakeaax::HostString h; AAX_CString("abcd").SubString(0, 10, &asInterface(h)); return h.text(); }, "abcd"},
        {"substring from past the end", [] { fakeaax::HostString h("old"); AAX_CString("abc").SubString(9, 2, &asInterface(h)); return h.text(); }, ""},
        {"equal up to an embedded NUL", [] { return std::string(AAX_CString(std::string("ab\0x", 4).c_str()) == AAX_CString(std::string("ab\0y", 4).c_str()) ? "equal" : "differ"); }, "equal"},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.result(), row.expected);
    }
}

TEST(AAX_CString, AppendsFixedNumbersCorrectlyRounded)
{
    struct Row
    {
        const char* start;
        double value;
        int32_t precision;
        std::string expected;
    };
    const Row rows[] = {
        {"x=", 0.5, 3, "x=0.500"},   {"", 1.0, 3, "1.000"},
        {"", -0.25, 3, "-0.250"},    {"", -0.0, 3, "-0.000"},
        {"", -0.0004, 3, "-0.000"},  {"", 0.0005000000000000001, 3, "0.001"},
        {"", 2.0, 0, "2"},           {"", 0.1, 20, "0.10000000000000000555"},
        {"", 123.456, 3, "123.456"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.expected);
        AAX_CString text(row.start);
        EXPECT_STREQ(text.AppendNumber(row.value, row.precision).Get(), row.expected.c_str());
    }
    // The largest double has 309 integer digits: nothing may cut them.
    AAX_CString largest;
    largest.AppendNumber(DBL_MAX, 3);
    EXPECT_EQ(largest.Length(), 313u);
    EXPECT_STREQ(largest.Get() + 300, "124858368.000");
    EXPECT_EQ(std::string(largest.Get(), 17), "17976931348623157");
}

TEST(AAX_CString, ReadsTheLeadingDecimalNumber)
{
    struct Row
    {
        const char* text;
        bool read;
        double value;
    };
    const Row rows[] = {
        {"1.5dB", true, 1.5},
        {"  -3.25 units", true, -3.25},
        {"  2", true, 2.0},
        {"+.5", true, 0.5},
        {"1E2x", true, 100.0},
        {"0x10", true, 0.0},
        // An exponent without digits spoils the number, as in a stream extraction.
        {"1e", false, 0.0},
        {"1e+", false, 0.0},
        {"2.5e+", false, 0.0},
        {"3e-x", false, 0.0},
        {"1e2e3", true, 100.0},
        {"1e-400", true, 0.0},
        {"", false, 0.0},
        {"abc", false, 0.0},
        {"inf", false, 0.0},
        {"nan", false, 0.0},
        {"-.e1", false, 0.0},
        {"1e400", false, 0.0},
        {"-1e400", false, 0.0},
        {"1000e306", false, 0.0},
        {"0.001e-305", true, 1e-308},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(std::string("\"") + row.text + "\"");
        double value = 99.0;
        EXPECT_EQ(AAX_CString(row.text).ToDouble(&value), row.read);
        EXPECT_EQ(value, row.value);
    }
}
} // namespace
