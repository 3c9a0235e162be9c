#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <cstdint>

namespace veridane::au
{

/** The MIDI a host sends an instance, gathered between renders. The processor ignores MIDI, so
    nothing reads it but tests; it is kept only so that what arrives is accepted the way hosts
    expect. Any thread adds; the audio thread empties it after each render. Never allocates
    after construction: an event that does not fit is dropped. */
class MidiGatherer
{
public:
    explicit MidiGatherer(int capacityInBytes);

    /** Adds one message at a sample position; answers whether it was kept. */
    bool add(const std::uint8_t* data, std::uint32_t length, std::uint32_t samplePosition);
    /** Audio thread: empties the buffer unless another thread is adding right now, in which
        case the next render does. Never waits. */
    void clearIfFree() noexcept;
    /** A copy of what is gathered (allocates: not for the audio thread). */
    juce::MidiBuffer copy() const;

private:
    /** Bytes the buffer holds without growing. */
    const int capacity;
    mutable juce::SpinLock lock;
    juce::MidiBuffer buffer;
    /** Set and cleared under the lock; lets a render skip the lock when nothing arrived. */
    std::atomic<bool> holdsEvents{false};
};

} // namespace veridane::au
