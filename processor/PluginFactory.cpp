#include "processor/PluginFactory.h"

#include "processor/LoomcraftAudioProcessor.h"

#include <new>

juce::AudioProcessor* createPluginFilter()
{
    // Nothing may be thrown into the host: an instance that cannot get its buffers is refused.
    try
    {
        return new LoomcraftAudioProcessor();
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}
