#pragma once

#include "tests/hosts/common/AudioFiles.h"
#include "tests/hosts/vst2/HostedEffect.h"

#include <array>
#include <string>
#include <vector>

/** How the host lays out the buffers it hands to processReplacing. */
enum class BufferLayout
{
    separate, ///< outputs apart from inputs, filled with NaN before each call
    inPlace,  ///< each output pointer is its input pointer
    crossed,  ///< output c is the buffer of input c + 1 (mod 4): every write clobbers an input
};

BufferLayout parseBufferLayout(const std::string& name);
const char* bufferLayoutName(BufferLayout layout);

/** Feeds blocks of a signal through an effect, as a host's audio thread does: the input block is
    copied into the host's own buffers, processed, and the outputs are copied out. */
class BlockRenderer
{
public:
    static constexpr int kChannels = 4;

    BlockRenderer(HostedEffect& effect, BufferLayout layout, int32_t maxBlock);

    /** Processes frames [offset, offset + length) of input into the same frames of output. */
    void process(const MultichannelAudio& input, int64_t offset, int32_t length,
                 MultichannelAudio& output);

private:
    HostedEffect& effect;
    BufferLayout layout;
    std::array<std::vector<float>, kChannels> inputStorage;
    std::array<std::vector<float>, kChannels> outputStorage;
    std::array<float*, kChannels> inputs{};
    std::array<float*, kChannels> outputs{};
};
