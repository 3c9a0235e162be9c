#include "tests/editor/EditorTestSupport.h"

namespace veridane::test
{

void pump(int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil(milliseconds);
}

bool pumpUntil(const std::function<bool()>& done)
{
    constexpr int deadlineMs = 5000;
    constexpr int sliceMs = 10;
    const auto start = juce::Time::getMillisecondCounter();
    while (!done() && juce::Time::getMillisecondCounter() - start < deadlineMs)
        pump(sliceMs);
    return done();
}

juce::Component* findNamed(juce::Component& root, const juce::String& name)
{
    for (auto* child : root.getChildren())
    {
        if (child->getName() == name)
            return child;
        if (auto* found = findNamed(*child, name))
            return found;
    }
    return nullptr;
}

juce::Image decode(const resources::Resource& resource)
{
    return juce::ImageFileFormat::loadFrom(resource.data, static_cast<size_t>(resource.size));
}

juce::Image snapshot(juce::Component& component)
{
    return component.createComponentSnapshot(component.getLocalBounds())
        .convertedToFormat(juce::Image::ARGB);
}

juce::Image composite(const juce::Image& base, const juce::Image& overlay)
{
    auto result = base.createCopy().convertedToFormat(juce::Image::ARGB);
    juce::Graphics g(result);
    g.drawImageAt(overlay, 0, 0);
    return result;
}

juce::Image blackImage(int width, int height)
{
    juce::Image image(juce::Image::ARGB, width, height, false);
    image.clear(image.getBounds(), juce::Colours::black);
    return image;
}

::testing::AssertionResult regionEquals(const juce::Image& image, juce::Rectangle<int> area,
                                        const juce::Image& expected)
{
    for (int y = 0; y < area.getHeight(); ++y)
        for (int x = 0; x < area.getWidth(); ++x)
        {
            const auto actual = image.getPixelAt(area.getX() + x, area.getY() + y);
            const auto wanted = expected.getPixelAt(x, y);
            if (actual != wanted)
                return ::testing::AssertionFailure()
                       << "pixel (" << area.getX() + x << ", " << area.getY() + y << ") is "
                       << actual.toDisplayString(true) << ", expected "
                       << wanted.toDisplayString(true);
        }
    return ::testing::AssertionSuccess();
}

} // namespace veridane::test
