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
    [--blocks LIST] [--buffers NAME] [--bypass] [--gain VALUE] [--direction INDEX]
    [--change FRAME:gain=VALUE] [--change FRAME:direction=INDEX] [--verbose] */
struct RenderOptions
{
    std::string pluginPath;
    std::string outPath;
    std::string blockList;
    /** How the host lays out its buffers, by name: one of those its render knows. */
    std::string buffers;
    bool bypass = false;
    std::optional<std::string> gain;
    std::optional<std::string> direction;
    /** In order of their frames. */
    std::vector<ScheduledChange> changes;
    bool verbose = false;
    MultichannelAudio input;
    std::string inputDescription;

    /** Takes them all; throws UsageError for a bad or incomplete command line. The buffers are
        one of bufferNames, the first by default (the host buffers' layouts unless given). */
    static RenderOptions take(Arguments& arguments,
                              const std::vector<std::string>& bufferNames = bufferLayoutNames());
};

/** Walks the input block by block with the option's partition: before each block, every change
    due is printed and handed to apply, then render runs on frames [offset, offset + length);
    the walk stops early when it answers false. Answers the number of blocks rendered. */
int64_t forEachBlock(const RenderOptions& options,
                     const std::function<void(const ScheduledChange&)>& apply,
                     const std::function<bool(int64_t offset, int32_t length)>& render);

/** Renders the input through forEachBlock in host buffers of the option's layout: process runs on
    them for each block. Answers the output; blocks receives the number of blocks. */
MultichannelAudio
renderBlocks(const RenderOptions& options, const std::function<void(const ScheduledChange&)>& apply,
             const std::function<void(float** inputs, float** outputs, int32_t length)>& process,
             int64_t& blocks);

/** Writes the output and prints where the render came from and went, and the peaks of both
    sides, named by channel order when one direction holds throughout. */
void writeRenderResult(const RenderOptions& options, const MultichannelAudio& output,
                       int64_t blocks);
