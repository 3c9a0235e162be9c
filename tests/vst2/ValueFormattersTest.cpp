#include "tests/vst2/TestEffects.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <functional>
#include <limits>

using namespace vst2test;

namespace
{
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInfinity = std::numeric_limits<float>::infinity();
constexpr int32_t kWideText = 16;

/** Reports a sample rate of its own, to show the unit formatters ask through getSampleRate. */
class RateEffect : public PlainEffect
{
public:
    explicit RateEffect(float rate) : reportedRate(rate) {}
    float getSampleRate() override { return reportedRate; }

private:
    float reportedRate;
};

using Format = std::function<void(AudioEffect&, char*, int32_t)>;

Format floatText(float value)
{
    return [value](AudioEffect& e, char* t, int32_t n) { e.float2string(value, t, n); };
}
Format intText(int32_t value)
{
    return [value](AudioEffect& e, char* t, int32_t n) { e.int2string(value, t, n); };
}
Format dBText(float value)
{
    return [value](AudioEffect& e, char* t, int32_t n) { e.dB2string(value, t, n); };
}
Format hzText(float samples)
{
    return [samples](AudioEffect& e, char* t, int32_t n) { e.Hz2string(samples, t, n); };
}
Format msText(float samples)
{
    return [samples](AudioEffect& e, char* t, int32_t n) { e.ms2string(samples, t, n); };
}

struct Row
{
    const char* label;
    Format format;
    int32_t maxLen;
    const char* expected;
    float sampleRate = 44100.0f;
};
} // namespace

TEST(ValueFormatters, RenderTheExpectedTexts)
{
    const Row rows[] = {
        {"float 0", floatText(0.0f), 8, "0.000000"},
        {"float 1.5", floatText(1.5f), 8, "1.500000"},
        {"float -1.5", floatText(-1.5f), 8, "-1.50000"},
        {"float 123.25", floatText(123.25f), 8, "123.2500"},
        {"float truncates digits", floatText(2.0f / 3.0f), 8, "0.666666"},
        {"float seven digits", floatText(1234567.0f), 8, "1234567."},
        {"float lowest admitted", floatText(-9999999.0f), kWideText, "-9999999."},
        {"float lowest admitted, field width", floatText(-9999999.0f), 8, "-9999999"},
        {"float eight digits", floatText(12345678.0f), kWideText, "12345678."},
        {"float eight digits, field width", floatText(12345678.0f), 8, "12345678"},
        {"float highest admitted", floatText(99999992.0f), kWideText, "99999992."},
        {"float below range", floatText(-9999999.5f), 8, "Huge!"},
        {"float above range", floatText(1.0e8f), 8, "Huge!"},
        {"float infinity", floatText(kInfinity), 8, "Huge!"},
        {"float minus infinity", floatText(-kInfinity), 8, "Huge!"},
        {"float NaN", floatText(kNaN), 8, "NaN"},
        {"float short field", floatText(1.5f), 4, "1.50"},
        {"Huge! cut to the field", floatText(1.0e9f), 3, "Hug"},

        {"dB of unity", dBText(1.0f), 8, "0.000000"},
        {"dB of 0", dBText(0.0f), 8, "-oo"},
        {"dB of negative", dBText(-3.0f), 8, "-oo"},
        {"dB of 10", dBText(10.0f), 8, "20.00000"},
        {"dB of NaN", dBText(kNaN), 8, "NaN"},

        {"Hz of 0 samples", hzText(0.0f), 8, "0.000000"},
        {"Hz of 441 samples", hzText(441.0f), 8, "100.0000"},
        {"Hz asks getSampleRate", hzText(10.0f), 8, "100.0000", 1000.0f},
        {"ms of a second", msText(44100.0f), 8, "1000.000"},
        {"ms asks getSampleRate", msText(48.0f), 8, "48.00000", 1000.0f},
        {"ms at rate 0", msText(1.0f), 8, "Huge!", 0.0f},
        {"ms of 0 at rate 0", msText(0.0f), 8, "NaN", 0.0f},

        {"int 42", intText(42), 8, "42"},
        {"int -7", intText(-7), 8, "-7"},
        {"int -100", intText(-100), 8, "-100"},
        {"int 0", intText(0), 8, "0"},
        {"int highest", intText(99999999), 8, "99999999"},
        {"int above range", intText(100000000), 8, "Huge!"},
        {"int largest", intText(INT32_MAX), 8, "Huge!"},
        {"int nine digits", intText(-999999999), kWideText, "-999999999"},
        {"int ten digits", intText(-1000000000), kWideText, "-1000000000"},
        {"int lowest", intText(INT32_MIN), kWideText, "-2147483648"},
        {"int short field", intText(-12345), 3, "-12"},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.label);
        RateEffect effect(row.sampleRate);
        char text[kWideText + 1];
        std::memset(text, 'x', sizeof(text));
        row.format(effect, text, row.maxLen);
        EXPECT_STREQ(text, row.expected);
    }
}

TEST(ValueFormatters, WriteExactlyTheFieldAndItsEndByte)
{
    const Format formats[] = {floatText(1.5f), floatText(1.0e9f), intText(7), intText(0),
                              dBText(0.0f)};
    for (int32_t maxLen : {0, 1, 4, 8})
    {
        for (size_t i = 0; i < std::size(formats); ++i)
        {
            SCOPED_TRACE("format " + std::to_string(i) + " maxLen " + std::to_string(maxLen));
            PlainEffect effect;
            char text[16];
            std::memset(text, 'x', sizeof(text));
            formats[i](effect, text, maxLen);

            // Text, then zeros up to and including text[maxLen]; nothing beyond.
            const auto length = static_cast<int32_t>(std::strlen(text));
            EXPECT_LE(length, maxLen);
            for (int32_t j = length; j <= maxLen; ++j)
                EXPECT_EQ(text[j], 0) << "byte " << j;
            EXPECT_EQ(text[maxLen + 1], 'x');
        }
    }
}

TEST(ValueFormatters, IgnoreAMissingBufferOrNegativeLength)
{
    PlainEffect effect;
    effect.float2string(1.0f, nullptr, 8);
    effect.int2string(1, nullptr, 8);
    effect.dB2string(1.0f, nullptr, 8);

    char text[4] = {'x', 'x', 'x', 'x'};
    effect.float2string(1.0f, text, -1);
    effect.int2string(1, text, -1);
    effect.dB2string(0.0f, text, -1);
    EXPECT_EQ(std::string(text, 4), "xxxx");
}
