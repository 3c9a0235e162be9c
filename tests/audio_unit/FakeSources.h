// Units that another unit's input can be connected to, opened through the frameworks stand-in
// on either road. They render a constant into the list they are given, into memory of their own
// when the list's data pointers are null, and count how they were reached.
#pragma once

#include "platform/frameworks/Frameworks.h"

#include <optional>
#include <vector>

namespace autest
{

struct FakeSource
{
    float value = 0.5f;
    /** Hand out a fast render function through the fast-dispatch property. */
    bool answersFastDispatch = false;
    /** The output format it answers, when it answers one. */
    std::optional<AudioStreamBasicDescription> outputFormat;

    int rendersThroughSelector = 0;
    int rendersThroughFastFunction = 0;
    void* fastFunctionStorage = nullptr;
    std::vector<std::vector<float>> memory;
};

/** One open instance of a fake source, closed when it goes. */
class OpenFakeSource
{
public:
    enum class Road
    {
        plugInBlock,
        componentManager,
    };

    OpenFakeSource(FakeSource& source, Road road);
    ~OpenFakeSource();

    AudioUnit Unit() const { return mUnit; }

    OpenFakeSource(const OpenFakeSource&) = delete;
    OpenFakeSource& operator=(const OpenFakeSource&) = delete;

private:
    Road mRoad;
    AudioUnit mUnit = nullptr;
};

} // namespace autest
