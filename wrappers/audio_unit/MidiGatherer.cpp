#include "wrappers/audio_unit/MidiGatherer.h"

#include <algorithm>
#include <limits>

namespace veridane::au
{
namespace
{
/** What the buffer stores besides the bytes: the sample position and the length. */
constexpr int eventHeaderBytes = int(sizeof(std::int32_t) + sizeof(std::uint16_t));
/** The longest message the buffer takes. */
constexpr std::uint32_t longestMessage = std::numeric_limits<std::uint16_t>::max();
} // namespace

MidiGatherer::MidiGatherer(int capacityInBytes) : capacity(capacityInBytes)
{
    buffer.ensureSize(size_t(capacityInBytes));
}

bool MidiGatherer::add(const std::uint8_t* data, std::uint32_t length, std::uint32_t samplePosition)
{
    if (data == nullptr || length == 0 || length > longestMessage)
        return false;
    const auto position = int(
        std::min<std::uint32_t>(samplePosition, std::uint32_t(std::numeric_limits<int>::max())));
    const juce::SpinLock::ScopedLockType hold(lock);
    if (buffer.data.size() + eventHeaderBytes + int(length) > capacity ||
        !buffer.addEvent(data, int(length), position))
        return false;
    holdsEvents.store(true, std::memory_order_relaxed);
    return true;
}

void MidiGatherer::clearIfFree() noexcept
{
    if (!holdsEvents.load(std::memory_order_relaxed))
        return;
    const juce::SpinLock::ScopedTryLockType hold(lock);
    if (!hold.isLocked())
        return;
    buffer.clear();
    holdsEvents.store(false, std::memory_order_relaxed);
}

juce::MidiBuffer MidiGatherer::copy() const
{
    const juce::SpinLock::ScopedLockType hold(lock);
    return buffer;
}

} // namespace veridane::au
