#pragma once

#include "tests/hosts/audio_unit/HostedUnit.h"
#include "tests/hosts/audio_unit/InputFeed.h"
#include "tests/hosts/common/AudioFiles.h"

#include <array>
#include <memory>
#include <string>
#include <vector>

/** Where the unit's output goes. */
enum class OutputBuffers
{
    host,     ///< the host's own buffers, filled with NaN before each render
    null,     ///< null data pointers: the unit renders into its own memory and points there
    inPlace,  ///< the host's buffers, with the unit processing in its input's buffers
    external, ///< null data pointers, with a block of the host's lent to the unit's output
};

OutputBuffers parseOutputBuffers(const std::string& name);
const char* outputBuffersName(OutputBuffers buffers);

/** Renders blocks of a unit's output as a host's audio thread does: the input comes from the
    feed, the sample time advances by each block's length, and the result is copied out. */
class UnitRenderer
{
public:
    static constexpr int kChannels = InputFeed::kChannels;

    UnitRenderer(HostedUnit& unit, InputFeed& feed, OutputBuffers buffers, UInt32 maxFrames);

    /** Sets what the buffer layout needs on the unit; after initialisation (a lent block is
        refused before). Answers what the unit answered. */
    OSStatus prepare();
    /** Renders frames [offset, offset + length) into the same frames of output; answers what
        the render answered and records what went wrong in problems. */
    OSStatus render(int64_t offset, UInt32 length, MultichannelAudio& output);

    const std::vector<std::string>& problems() const { return found; }

private:
    AudioBufferList& list() { return *reinterpret_cast<AudioBufferList*>(listStorage.data()); }
    bool insideLentBlock(const void* data) const;

    HostedUnit& unit;
    InputFeed& feed;
    OutputBuffers buffers;
    std::array<std::vector<float>, kChannels> hostMemory;
    std::vector<AudioBuffer> listStorage;
    /** A 16-byte aligned block for the unit's output, and its usable size. */
    std::vector<Byte> lentStorage;
    Byte* lentBlock = nullptr;
    UInt32 lentBytes = 0;
    std::vector<std::string> found;
};
