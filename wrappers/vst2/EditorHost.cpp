#include "wrappers/vst2/EditorHost.h"

#include <limits>

namespace veridane::vst2
{
namespace
{
std::int16_t toRectCoordinate(int value) noexcept
{
    return static_cast<std::int16_t>(juce::jlimit<int>(
        std::numeric_limits<std::int16_t>::min(), std::numeric_limits<std::int16_t>::max(), value));
}
} // namespace

bool EditorHost::getRect(ERect** rect)
{
    if (rect == nullptr)
        return false;

    const auto size = embedding.size();
    rectangle = {};
    if (size)
    {
        rectangle.bottom = toRectCoordinate(size->getHeight());
        rectangle.right = toRectCoordinate(size->getWidth());
    }
    *rect = &rectangle;
    return size.has_value();
}

} // namespace veridane::vst2
