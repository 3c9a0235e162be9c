#include "wrappers/common/BlockRunner.h"

#include "processor/kernels/KernelDispatch.h"

#include <algorithm>
#include <cstring>

namespace veridane::wrappers
{
namespace
{
/** Whether two blocks of numFrames samples share any byte. */
bool overlap(const float* a, const float* b, std::int32_t numFrames) noexcept
{
    const auto start = [](const float* p) { return reinterpret_cast<std::uintptr_t>(p); };
    const auto bytes = static_cast<std::uintptr_t>(numFrames) * sizeof(float);
    return start(a) < start(b) + bytes && start(b) < start(a) + bytes;
}

void copyFrames(float* destination, const float* source, int numFrames) noexcept
{
    std::memcpy(destination, source, static_cast<std::size_t>(numFrames) * sizeof(float));
}
} // namespace

BlockRunner::BlockRunner()
{
    for (auto& channel : scratch)
        channel = std::make_unique<float[]>(scratchFrames);
    // Room for the few events a host might send, so clearing never frees or allocates.
    midi.ensureSize(256);
}

void BlockRunner::process(juce::AudioProcessor& processor, float* const* inputs,
                          float* const* outputs, std::int32_t numFrames, bool bypassed)
{
    if (numFrames < 0 || outputs == nullptr)
        return;

    const juce::ScopedLock hold(processor.getCallbackLock());
    const Route route = routeFor(inputs, outputs, numFrames);
    if (route == Route::staged)
        runStaged(processor, inputs, outputs, numFrames, bypassed);
    else if (OutOfPlaceProcessing* onePass = outOfPlaceProcessing(processor);
             onePass != nullptr && !bypassed)
        onePass->processOutOfPlace(inputs, outputs, numFrames);
    else
        runDirect(processor, inputs, outputs, numFrames, route, bypassed);
}

OutOfPlaceProcessing* BlockRunner::outOfPlaceProcessing(juce::AudioProcessor& processor) noexcept
{
    // Looked up when the processor is new to this runner, in practice once: never per block.
    if (&processor != lookedUp)
    {
        lookedUp = &processor;
        outOfPlace = dynamic_cast<OutOfPlaceProcessing*>(&processor);
    }
    return outOfPlace;
}

BlockRunner::Route BlockRunner::routeFor(float* const* inputs, float* const* outputs,
                                         std::int32_t numFrames) noexcept
{
    if (inputs == nullptr)
        return Route::staged;
    auto& last = remembered;
    bool same = numFrames == last.numFrames;
    for (int c = 0; c < numChannels; ++c)
        same = same && inputs[c] == last.inputs[size_t(c)] && outputs[c] == last.outputs[size_t(c)];
    if (!same)
    {
        std::copy_n(inputs, numChannels, last.inputs.begin());
        std::copy_n(outputs, numChannels, last.outputs.begin());
        last.numFrames = numFrames;
        last.route = chooseRoute(inputs, outputs, numFrames);
    }
    return last.route;
}

BlockRunner::Route BlockRunner::chooseRoute(float* const* inputs, float* const* outputs,
                                            std::int32_t numFrames) const
{
    if (inputs == nullptr)
        return Route::staged;

    bool allInPlace = true;
    for (int c = 0; c < numChannels; ++c)
    {
        if (inputs[c] == nullptr || outputs[c] == nullptr)
            return Route::staged;
        allInPlace = allInPlace && outputs[c] == inputs[c];
    }
    if (allInPlace)
        return Route::inPlace;

    bool crossed = false;
    for (int c = 0; c < numChannels; ++c)
    {
        for (int other = 0; other < numChannels; ++other)
        {
            // An output that is exactly an input is fine: the crossed copy reads every input of
            // a frame before it writes any output of it.
            if (outputs[c] == inputs[other])
                crossed = crossed || other != c;
            else if (overlap(outputs[c], inputs[other], numFrames))
                return Route::staged;
            if (other > c && overlap(outputs[c], outputs[other], numFrames))
                return Route::staged;
        }
    }
    return crossed ? Route::crossed : Route::separate;
}

void BlockRunner::runDirect(juce::AudioProcessor& processor, float* const* inputs,
                            float* const* outputs, std::int32_t numFrames, Route route,
                            bool bypassed)
{
    const auto& kernels = kernels::activeKernels();
    std::array<const float*, numChannels> from{};
    int offset = 0;
    do
    {
        const int frames = std::min(numFrames - offset, scratchFrames);
        for (int c = 0; c < numChannels; ++c)
        {
            from[size_t(c)] = inputs[c] + offset;
            channelPointers[size_t(c)] = outputs[c] + offset;
        }
        // Separate buffers copy one channel at a time, which suits the library's copy best;
        // crossed ones need every input of a frame read before any output of it is written.
        if (route == Route::separate)
            for (int c = 0; c < numChannels; ++c)
                if (outputs[c] != inputs[c])
                    copyFrames(channelPointers[size_t(c)], from[size_t(c)], frames);
        if (route == Route::crossed)
            kernels.copyChannels(channelPointers.data(), from.data(), frames);
        runProcessor(processor, channelPointers.data(), frames, bypassed);
        offset += frames;
    } while (offset < numFrames);
}

void BlockRunner::runStaged(juce::AudioProcessor& processor, float* const* inputs,
                            float* const* outputs, std::int32_t numFrames, bool bypassed)
{
    // Every input of a piece is read before any output of it is written, so crossed channels
    // see their own input. Buffers that overlap at an offset (no host does that) are only exact
    // for blocks that fit the scratch.
    int offset = 0;
    do
    {
        const int frames = std::min(numFrames - offset, scratchFrames);
        for (int c = 0; c < numChannels; ++c)
        {
            float* const stage = scratch[size_t(c)].get();
            const float* const input = inputs != nullptr ? inputs[c] : nullptr;
            if (input != nullptr)
                copyFrames(stage, input + offset, frames);
            else
                std::fill(stage, stage + frames, 0.0f);
            channelPointers[size_t(c)] = stage;
        }
        runProcessor(processor, channelPointers.data(), frames, bypassed);
        for (int c = 0; c < numChannels; ++c)
            if (outputs[c] != nullptr)
                copyFrames(outputs[c] + offset, scratch[size_t(c)].get(), frames);
        offset += frames;
    } while (offset < numFrames);
}

void BlockRunner::runProcessor(juce::AudioProcessor& processor, float* const* channels,
                               int numFrames, bool bypassed)
{
    buffer.setDataToReferTo(channels, numChannels, numFrames);
    midi.clear();
    if (bypassed)
        processor.processBlockBypassed(buffer, midi);
    else
        processor.processBlock(buffer, midi);
}

} // namespace veridane::wrappers
