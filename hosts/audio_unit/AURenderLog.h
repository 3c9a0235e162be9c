// The one line the layer writes to the system log: a render asked for more frames than the unit
// takes. At most one line per second of wall-clock time for the whole process, whichever thread
// renders. Tests replace the sink and the clock.
#pragma once

#include "platform/MacTypes.h"

#include <cstdint>

namespace AURenderLog
{
/** Receives the priority (LOG_ERR) and the finished line. */
using Sink = void (*)(int priority, const char* line);
/** Whole seconds of wall-clock time. */
using Clock = std::int64_t (*)();

/** Null puts back the system log. */
void SetSink(Sink sink);
/** Null puts back the system clock. */
void SetClock(Clock clock);

/** Writes "kAudioUnitErr_TooManyFramesToProcess : inFramesToProcess=%u,
    mMaxFramesPerSlice=%u" unless a line went out in the same second. Allocates nothing. */
void TooManyFrames(UInt32 framesToProcess, UInt32 maxFramesPerSlice);
} // namespace AURenderLog
