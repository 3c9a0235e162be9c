// Renders the plug-in window without a display and writes it as a PNG.
//
//   veridane_snapshot --out window.png [--direction N] [--levels L0,L1,...,L7]
//                     [--gain V] [--panel none|options|about]
//
// --direction sets the processor's direction index (0 FuMa to ambiX, 1 ambiX to FuMa),
// --levels the eight meter levels 0..1 (one value sets all eight), --gain the normalised gain,
// --panel which panel is open. The window is rendered after its timers have run once.

#include "editor/LoomcraftAudioProcessorEditor.h"
#include "processor/LoomcraftAudioProcessor.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <cstdio>
#include <optional>

namespace
{
constexpr int settleMs = 250;

struct Options
{
    juce::File output;
    int direction = 0;
    std::array<float, LoomcraftAudioProcessor::numMeters> levels{};
    std::optional<float> gain;
    juce::String panel = "none";
};

void printUsage()
{
    std::fputs("usage: veridane_snapshot --out FILE.png [--direction N] [--levels L0,...,L7]\n"
               "                         [--gain V] [--panel none|options|about]\n",
               stderr);
}

bool parseLevels(const juce::String& text, Options& options)
{
    juce::StringArray parts;
    parts.addTokens(text, ",", "");
    if (parts.size() == 1)
    {
        options.levels.fill(parts[0].getFloatValue());
        return true;
    }
    if (parts.size() != LoomcraftAudioProcessor::numMeters)
        return false;
    for (int i = 0; i < parts.size(); ++i)
        options.levels[static_cast<size_t>(i)] = parts[i].getFloatValue();
    return true;
}

std::optional<Options> parseArguments(int argc, char** argv)
{
    Options options;
    for (int i = 1; i < argc; ++i)
    {
        const juce::String name(argv[i]);
        if (i + 1 >= argc)
            return std::nullopt;
        const juce::String value(argv[++i]);

        if (name == "--out")
            options.output = juce::File::getCurrentWorkingDirectory().getChildFile(value);
        else if (name == "--direction")
            options.direction = value.getIntValue();
        else if (name == "--levels" && parseLevels(value, options))
            continue;
        else if (name == "--gain")
            options.gain = value.getFloatValue();
        else if (name == "--panel" && (value == "none" || value == "options" || value == "about"))
            options.panel = value;
        else
            return std::nullopt;
    }
    if (options.output == juce::File())
        return std::nullopt;
    return options;
}

juce::Component* findByName(juce::Component& parent, const juce::String& name)
{
    for (auto* child : parent.getChildren())
        if (child->getName() == name)
            return child;
    return nullptr;
}

void pump(int milliseconds)
{
    juce::MessageManager::getInstance()->runDispatchLoopUntil(milliseconds);
}

bool writePng(const juce::Image& image, const juce::File& file)
{
    file.deleteFile();
    juce::FileOutputStream stream(file);
    return stream.openedOk() && juce::PNGImageFormat().writeImageToStream(image, stream);
}

int render(const Options& options)
{
    LoomcraftAudioProcessor processor;
    processor.setConversionMode(options.direction);
    if (options.gain)
        processor.setParameter(0, *options.gain);
    for (size_t i = 0; i < options.levels.size(); ++i)
        processor.meterLevels[i].store(options.levels[i]);

    auto editor = std::make_unique<LoomcraftAudioProcessorEditor>(processor);
    pump(settleMs);

    // Open the panel as a click on the gear or the logo area does. (A simulated click would
    // leave the gear drawn pressed, as no mouse-up ever comes.)
    const juce::String buttonName = options.panel == "options" ? "engrenage"
                                    : options.panel == "about" ? "new button"
                                                               : juce::String();
    if (buttonName.isNotEmpty())
    {
        if (auto* button = dynamic_cast<juce::Button*>(findByName(*editor, buttonName)))
            editor->buttonClicked(button);
        pump(settleMs);
    }

    const auto image = editor->createComponentSnapshot(editor->getLocalBounds());
    editor.reset();

    if (!writePng(image, options.output))
    {
        std::fprintf(stderr, "veridane_snapshot: cannot write %s\n",
                     options.output.getFullPathName().toRawUTF8());
        return 1;
    }
    return 0;
}
} // namespace

int main(int argc, char** argv)
{
    const auto options = parseArguments(argc, argv);
    if (!options)
    {
        printUsage();
        return 2;
    }
    juce::ScopedJuceInitialiser_GUI gui;
    return render(*options);
}
