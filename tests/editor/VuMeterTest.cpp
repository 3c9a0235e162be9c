#include "tests/editor/EditorTestSupport.h"

#include "editor/VuMeter.h"

namespace veridane::test
{
namespace
{
using LevelMeter = GuiTest;

constexpr int meterWidth = 10;
constexpr int meterHeight = 143;

struct LevelRow
{
    float level;
    int firstRow; // first row drawn, or meterHeight when none
    int lastRow;  // last row drawn
};

// Heights and positions are truncated separately, so level 0.5 leaves the bottom row undrawn.
const LevelRow levelTable[] = {
    {0.0f, meterHeight, -1},
    {0.5f, 71, 141},
    {0.857f, 20, 141},
    {1.0f, 0, 142},
};

TEST_F(LevelMeter, MeterFillsExactlyTheRowsOfItsLevel)
{
    LoomcraftAudioProcessor processor;
    constexpr int meterIndex = 5;
    VuMeter meter(processor, meterIndex);
    meter.setSize(meterWidth, meterHeight);
    const auto gradient = decode(resources::meterGradientPng);

    for (const auto& row : levelTable)
    {
        SCOPED_TRACE(juce::String(row.level).toStdString());
        processor.meterLevels[meterIndex].store(row.level);
        const auto image = snapshot(meter);

        for (int y = 0; y < meterHeight; ++y)
        {
            const bool drawn = y >= row.firstRow && y <= row.lastRow;
            const auto expected =
                drawn ? gradient.getPixelAt(0, y) : juce::Colours::transparentBlack;
            for (int x = 0; x < meterWidth; ++x)
                ASSERT_EQ(expected, image.getPixelAt(x, y)) << "at (" << x << ", " << y << ")";
        }
    }
}

} // namespace
} // namespace veridane::test
