// Value-to-text formatters for the short parameter fields a host asks for. Every text buffer
// holds maxLen + 1 bytes; text[maxLen] is always written as a zero byte.
#include "hosts/vst2/AudioEffect.h"

#include <cmath>
#include <cstring>

namespace
{
constexpr char kHugeText[] = "Huge!";
constexpr char kMinusInfinityText[] = "-oo";
constexpr char kNotANumberText[] = "NaN";

// float2string fills this many characters: sign, integer digits, point, fraction digits.
constexpr int kFloatTextWidth = 8;
constexpr double kFloatLowest = -9999999.0;
constexpr double kFloatHighest = 99999999.0;
constexpr int32_t kIntHighest = 99999999;
// Enough for the sign, the ten digits of any int32_t magnitude and the point.
constexpr int kDigitBufferSize = 16;

bool canWrite(const char* text, int32_t maxLen)
{
    return text != nullptr && maxLen >= 0;
}

// Copies at most maxLen characters, zero-fills the rest of them and ends with text[maxLen] = 0.
void copyText(char* text, const char* source, int32_t maxLen)
{
    std::strncpy(text, source, static_cast<size_t>(maxLen));
    text[maxLen] = 0;
}

// Appends while the whole text stays within maxLen characters.
void appendText(char* text, const char* source, int32_t maxLen)
{
    auto length = std::strlen(text);
    while (*source != 0 && length < static_cast<size_t>(maxLen))
        text[length++] = *source++;
    text[length] = 0;
}

// Writes the decimal digits of magnitude (at least one) and answers how many.
int writeDigits(unsigned long long magnitude, char* digits)
{
    char reversed[kDigitBufferSize];
    int count = 0;
    do
    {
        reversed[count++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);

    for (int i = 0; i < count; ++i)
        digits[i] = reversed[count - 1 - i];
    digits[count] = 0;
    return count;
}
} // namespace

void AudioEffect::dB2string(float value, char* text, int32_t maxLen)
{
    if (!canWrite(text, maxLen))
        return;
    if (value <= 0.0f)
    {
        copyText(text, kMinusInfinityText, maxLen);
        return;
    }
    float2string(static_cast<float>(20.0 * std::log10(static_cast<double>(value))), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, int32_t maxLen)
{
    const float hertz = samples == 0.0f ? 0.0f : getSampleRate() / samples;
    float2string(hertz, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, int32_t maxLen)
{
    constexpr double kMillisecondsPerSecond = 1000.0;
    const double milliseconds = static_cast<double>(samples) * kMillisecondsPerSecond /
                                static_cast<double>(getSampleRate());
    float2string(static_cast<float>(milliseconds), text, maxLen);
}

void AudioEffect::float2string(float value, char* text, int32_t maxLen)
{
    if (!canWrite(text, maxLen))
        return;

    // A NaN (dB or ms of a silent or rate-less input) has no digits to show.
    if (std::isnan(value))
    {
        copyText(text, kNotANumberText, maxLen);
        return;
    }

    const double wide = value;
    if (wide < kFloatLowest || wide > kFloatHighest)
    {
        copyText(text, kHugeText, maxLen);
        return;
    }

    const bool negative = wide < 0.0;
    const double magnitude = std::fabs(wide);

    // Integer part in full, even when it alone fills the width: dropping digits would show
    // a different number.
    char integerPart[kDigitBufferSize];
    int length = 0;
    if (negative)
        integerPart[length++] = '-';
    length +=
        writeDigits(static_cast<unsigned long long>(std::floor(magnitude)), integerPart + length);
    integerPart[length++] = '.';
    integerPart[length] = 0;
    copyText(text, integerPart, maxLen);

    const int fractionDigits = kFloatTextWidth - length;
    if (fractionDigits <= 0)
        return;

    // Fraction digits, truncated, built right to left from the scaled fraction.
    double fraction = std::fmod(magnitude, 1.0) * std::pow(10.0, fractionDigits);
    char fractionPart[kFloatTextWidth + 1];
    for (int i = fractionDigits - 1; i >= 0; --i)
    {
        if (fraction <= 0.0)
        {
            fractionPart[i] = '0';
            continue;
        }
        fractionPart[i] = static_cast<char>('0' + static_cast<int>(std::fmod(fraction, 10.0)));
        fraction /= 10.0;
    }
    fractionPart[fractionDigits] = 0;
    appendText(text, fractionPart, maxLen);
}

void AudioEffect::int2string(int32_t value, char* text, int32_t maxLen)
{
    if (!canWrite(text, maxLen))
        return;
    if (value > kIntHighest)
    {
        copyText(text, kHugeText, maxLen);
        return;
    }

    // Widened first, so that the magnitude of the lowest int32_t is representable.
    const long long wide = value;
    copyText(text, wide < 0 ? "-" : "", maxLen);

    char digits[kDigitBufferSize];
    writeDigits(static_cast<unsigned long long>(wide < 0 ? -wide : wide), digits);
    appendText(text, digits, maxLen);
}
