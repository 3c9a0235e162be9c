// compare, compare-images: the checks the render and editor tests end with.
#include "tests/hosts/common/CompareCommands.h"

#include "tests/hosts/common/AudioFiles.h"
#include "tests/hosts/common/ExitCodes.h"

#include <juce_graphics/juce_graphics.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace
{
juce::Image loadImage(const std::string& path)
{
    const juce::File file(juce::File::getCurrentWorkingDirectory().getChildFile(path));
    juce::Image image = juce::ImageFileFormat::loadFrom(file);
    if (!image.isValid())
        throw std::runtime_error("cannot read the image " + path);
    return image;
}

/** "X,Y,W,H". */
juce::Rectangle<int> parseArea(const std::string& text)
{
    std::stringstream stream(text);
    std::string item;
    std::vector<int> values;
    while (std::getline(stream, item, ','))
        values.push_back(int(parseInteger(item, "--text-area")));
    if (values.size() != 4 || values[2] < 0 || values[3] < 0)
        throw UsageError("--text-area wants X,Y,W,H");
    return {values[0], values[1], values[2], values[3]};
}

int channelDifference(juce::Colour a, juce::Colour b)
{
    return std::max({std::abs(int(a.getRed()) - int(b.getRed())),
                     std::abs(int(a.getGreen()) - int(b.getGreen())),
                     std::abs(int(a.getBlue()) - int(b.getBlue()))});
}
} // namespace

int runCompare(Arguments& arguments)
{
    const auto paths = arguments.positionals(2, "two WAV files");
    const MultichannelAudio a = readWav(paths[0]);
    const MultichannelAudio b = readWav(paths[1]);

    if (a.channels.size() != b.channels.size() || a.frames() != b.frames() ||
        a.sampleRate != b.sampleRate)
    {
        std::printf(
            "DIFFERENT: %s has %zu channels x %lld frames at %g Hz, %s %zu x %lld at %g Hz\n",
            paths[0].c_str(), a.channels.size(), (long long)a.frames(), a.sampleRate,
            paths[1].c_str(), b.channels.size(), (long long)b.frames(), b.sampleRate);
        return exitCode::failed;
    }

    int64_t differing = 0;
    double largest = 0.0;
    for (size_t c = 0; c < a.channels.size(); ++c)
        for (int64_t i = 0; i < a.frames(); ++i)
        {
            const float x = a.channels[c][size_t(i)];
            const float y = b.channels[c][size_t(i)];
            // Bits, not values: -0 against +0, or one NaN against another, is a difference.
            if (std::memcmp(&x, &y, sizeof x) == 0)
                continue;
            if (differing++ == 0)
                std::printf("first difference: channel %zu frame %lld: %.9g against %.9g\n", c + 1,
                            (long long)i, double(x), double(y));
            largest =
                std::max(largest, std::isnan(x) || std::isnan(y) ? double(INFINITY)
                                                                 : std::abs(double(x) - double(y)));
        }

    if (differing > 0)
    {
        std::printf("DIFFERENT: %lld samples differ, largest difference %g\n", (long long)differing,
                    largest);
        return exitCode::failed;
    }
    std::printf("same: %zu channels x %lld frames\n", a.channels.size(), (long long)a.frames());
    return exitCode::ok;
}

int runCompareImages(Arguments& arguments)
{
    const int tolerance =
        int(parseInteger(arguments.option("--tolerance").value_or("0"), "--tolerance"));
    const int textTolerance =
        int(parseInteger(arguments.option("--text-tolerance").value_or("96"), "--text-tolerance"));
    std::vector<juce::Rectangle<int>> textAreas;
    for (const auto& text : arguments.options("--text-area"))
        textAreas.push_back(parseArea(text));
    const auto paths = arguments.positionals(2, "two PNG files");

    const juce::Image a = loadImage(paths[0]);
    const juce::Image b = loadImage(paths[1]);
    std::printf("%s: %d x %d, %s: %d x %d\n", paths[0].c_str(), a.getWidth(), a.getHeight(),
                paths[1].c_str(), b.getWidth(), b.getHeight());
    if (a.getBounds() != b.getBounds())
    {
        std::printf("DIFFERENT: the sizes differ\n");
        return exitCode::failed;
    }

    int beyondTolerance = 0;
    int textPixelsAdjusted = 0;
    juce::Rectangle<int> differenceBounds;
    for (int y = 0; y < a.getHeight(); ++y)
        for (int x = 0; x < a.getWidth(); ++x)
        {
            const int difference = channelDifference(a.getPixelAt(x, y), b.getPixelAt(x, y));
            if (difference <= tolerance)
                continue;
            const bool inText = std::any_of(textAreas.begin(), textAreas.end(),
                                            [&](const auto& area) { return area.contains(x, y); });
            if (inText && difference <= textTolerance)
            {
                ++textPixelsAdjusted;
                continue;
            }
            if (beyondTolerance++ == 0)
                std::printf("first difference at %d,%d: %s against %s\n", x, y,
                            a.getPixelAt(x, y).toDisplayString(false).toRawUTF8(),
                            b.getPixelAt(x, y).toDisplayString(false).toRawUTF8());
            differenceBounds = differenceBounds.isEmpty() ? juce::Rectangle<int>(x, y, 1, 1)
                                                          : differenceBounds.getUnion({x, y, 1, 1});
        }

    if (beyondTolerance > 0)
    {
        std::printf("DIFFERENT: %d pixels beyond tolerance, within %s\n", beyondTolerance,
                    differenceBounds.toString().toRawUTF8());
        return exitCode::failed;
    }
    std::printf("same: every pixel within tolerance %d (%d text pixels within %d)\n", tolerance,
                textPixelsAdjusted, textTolerance);
    return exitCode::ok;
}
