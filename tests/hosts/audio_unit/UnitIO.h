#pragma once

#include "tests/hosts/audio_unit/HostedUnit.h"
#include "tests/hosts/common/AudioFiles.h"

#include <string>
#include <vector>

constexpr int kChannels = 4;

/** Where a unit's input comes from: the host's render callback, or a source unit of the host's
    own connected to the unit's input (opened through the frameworks stand-in on the Component
    Manager road, with a fast render function). Either hands out frames of the signal from the
    position the host sets before each render. */
class InputFeed
{
public:
    /** The signal must outlive the feed; maxFrames bounds a pull. */
    InputFeed(bool connection, const MultichannelAudio& signal, UInt32 maxFrames);
    ~InputFeed();
    InputFeed(const InputFeed&) = delete;
    InputFeed& operator=(const InputFeed&) = delete;

    /** Sets the unit's input to this feed; answers what the unit answered. */
    OSStatus attach(HostedUnit& unit);

    int64_t position = 0;
    int pulls = 0;

private:
    static OSStatus Render(void* feed, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32,
                           UInt32 frames, AudioBufferList* list);
    static OSStatus SourceEntry(ComponentParameters* params, void* feed);

    const bool connection;
    const MultichannelAudio& signal;
    std::vector<std::vector<float>> ownMemory;
    ComponentInstance source = nullptr;
};

/** Renders blocks of a unit's output as a host's audio thread does: the input comes from the
    feed, the sample time advances by each block's length, and the result is copied out. The
    buffers are "host" (the host's own, NaN before each render), "null" (the unit renders into
    its own memory and points there), "in-place" (the host's, with the unit processing in its
    input's buffers) or "external" (null, with a block of the host's lent to the unit's output). */
class UnitRenderer
{
public:
    /** "host", "null", "in-place", "external". */
    static std::vector<std::string> bufferNames();

    /** Throws UsageError for an unknown buffer layout. */
    UnitRenderer(HostedUnit& unit, InputFeed& feed, const std::string& buffers, UInt32 maxFrames);

    /** Sets what the layout needs on the unit, after initialisation (a lent block is refused
        before); answers what the unit answered. */
    OSStatus prepare();
    /** Renders frames [offset, offset + length) into the same frames of output; what went wrong
        goes to problems. */
    void render(int64_t offset, UInt32 length, MultichannelAudio& output);

    std::vector<std::string> problems;

private:
    HostedUnit& unit;
    InputFeed& feed;
    const std::string buffers;
    std::vector<std::vector<float>> hostMemory;
    std::vector<AudioBuffer> list;
    /** A 16-byte aligned block for the unit's output, and its usable size. */
    std::vector<Byte> lentStorage;
    Byte* lent = nullptr;
    UInt32 lentBytes = 0;
};
