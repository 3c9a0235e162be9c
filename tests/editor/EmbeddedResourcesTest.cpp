#include "tests/editor/EditorTestSupport.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace veridane::test
{
namespace
{
struct ResourceRow
{
    const char* fileName;
    const resources::Resource& resource;
};

const ResourceRow resourceTable[] = {
    {"gear.png", resources::gearPng},
    {"background.png", resources::backgroundPng},
    {"order_fuma.png", resources::orderFumaPng},
    {"caption_ambix.png", resources::captionAmbixPng},
    {"caption_fuma.png", resources::captionFumaPng},
    {"Roboto-Regular.ttf", resources::robotoRegularTtf},
    {"meter_gradient.png", resources::meterGradientPng},
    {"knob_filmstrip.png", resources::knobFilmstripPng},
    {"order_ambix.png", resources::orderAmbixPng},
};

std::vector<unsigned char> readFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(EmbeddedResources, SizesAndBytesAreThoseOfTheFiles)
{
    for (const auto& row : resourceTable)
    {
        SCOPED_TRACE(row.fileName);
        const auto file = readFile(std::filesystem::path(VERIDANE_RESOURCE_DIR) / row.fileName);
        ASSERT_FALSE(file.empty());
        ASSERT_EQ(static_cast<size_t>(row.resource.size), file.size());
        EXPECT_EQ(0, std::memcmp(row.resource.data, file.data(), file.size()));
    }
}

} // namespace
} // namespace veridane::test
