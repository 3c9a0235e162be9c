#pragma once

#include "tests/hosts/common/Arguments.h"
#include "tests/hosts/common/AudioFiles.h"
#include "tests/hosts/common/HostBuffers.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

/** A setting that changes at the first block starting at or after frame. */
struct ScheduledChange
{
    int64_t frame;
    bool isGain; // otherwise the direction
    std::string value;
};

/** What every host's render command takes:
    PLUGIN (--input FILE | --signal NAME [--frames N | --seconds S] [--rate HZ]) --out FILE
    [--blocks LIST] [--buffers separate|in-place|crossed] [--bypass] [--gain VALUE]
    [--direction INDEX] [--change FRAME:gain=VALUE] [--change FRAME:direction=INDEX] [--verbose] */
struct RenderOptions
{
    std::string pluginPath;
    std::string outPath;
    std::string blockList;
    BufferLayout layout = BufferLayout::separate;
    bool bypass = false;
    std::optional<std::string> gain;
    std::optional<std::string> direction;
    /** In order of their frames. */
    std::vector<ScheduledChange> changes;
    bool verbose = false;
    MultichannelAudio input;
    std::string inputDescription;

    /** Takes them all; throws UsageError for a bad or incomplete command line. */
    static RenderOptions take(Arguments& arguments);
};

/** Renders the input block by block with the option's partition and buffer layout: before each
    block, every change due is handed to apply (and printed), then process runs on the host's
    buffers. Answers the output; blocks receives the number of blocks. */
MultichannelAudio
renderBlocks(const RenderOptions& options, const std::function<void(const ScheduledChange&)>& apply,
             const std::function<void(float** inputs, float** outputs, int32_t length)>& process,
             int64_t& blocks);

/** Writes the output and prints where the render came from and went, and the peaks of both
    sides, named by channel order when one direction holds throughout. */
void writeRenderResult(const RenderOptions& options, const MultichannelAudio& output,
                       int64_t blocks);
