#include "hosts/audio_unit/AURenderLog.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <syslog.h>

namespace
{
void SystemLog(int priority, const char* line)
{
    syslog(priority, "%s", line);
}

std::int64_t SystemClock()
{
    return std::int64_t(std::time(nullptr));
}

std::atomic<AURenderLog::Sink> gSink{SystemLog};
std::atomic<AURenderLog::Clock> gClock{SystemClock};
/** The second of the last line; 0 until one was written. */
std::atomic<std::int64_t> gLastLoggedSecond{0};
} // namespace

void AURenderLog::SetSink(Sink sink)
{
    gSink.store(sink != nullptr ? sink : SystemLog, std::memory_order_relaxed);
}

void AURenderLog::SetClock(Clock clock)
{
    gClock.store(clock != nullptr ? clock : SystemClock, std::memory_order_relaxed);
}

void AURenderLog::TooManyFrames(UInt32 framesToProcess, UInt32 maxFramesPerSlice)
{
    const std::int64_t now = gClock.load(std::memory_order_relaxed)();
    std::int64_t last = gLastLoggedSecond.load(std::memory_order_relaxed);
    // Of several threads that see a new second, only the one that records it writes.
    if (now == last ||
        !gLastLoggedSecond.compare_exchange_strong(last, now, std::memory_order_relaxed))
        return;
    char line[128];
    std::snprintf(line, sizeof line,
                  "kAudioUnitErr_TooManyFramesToProcess : inFramesToProcess=%u, "
                  "mMaxFramesPerSlice=%u",
                  unsigned(framesToProcess), unsigned(maxFramesPerSlice));
    gSink.load(std::memory_order_relaxed)(LOG_ERR, line);
}
