#pragma once

#include "tests/hosts/common/AudioFiles.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

/** How the host lays out the buffers it hands to the plug-in's process call. */
enum class BufferLayout
{
    separate, ///< outputs apart from inputs, filled with NaN before each call
    inPlace,  ///< each output pointer is its input pointer
    crossed,  ///< output c is the buffer of input c + 1 (mod 4): every write clobbers an input
};

BufferLayout parseBufferLayout(const std::string& name);
const char* bufferLayoutName(BufferLayout layout);
/** "separate", "in-place", "crossed". */
std::vector<std::string> bufferLayoutNames();

/** The host's own four channel buffers, for one block at a time, as a host's audio thread keeps
    them: a block of the signal is copied in, processed, and the outputs are copied out. */
class HostBuffers
{
public:
    static constexpr int kChannels = 4;

    HostBuffers(BufferLayout layout, int32_t maxBlock);

    /** Copies frames [offset, offset + length) of input into the input buffers. */
    void load(const MultichannelAudio& input, int64_t offset, int32_t length);
    /** Copies the outputs of the last length frames into the same frames of output. */
    void store(int64_t offset, int32_t length, MultichannelAudio& output) const;

    float** inputs() { return inputPointers.data(); }
    float** outputs() { return outputPointers.data(); }

private:
    BufferLayout layout;
    std::array<std::vector<float>, kChannels> inputStorage;
    std::array<std::vector<float>, kChannels> outputStorage;
    std::array<float*, kChannels> inputPointers{};
    std::array<float*, kChannels> outputPointers{};
};
