// Parameter events: what a unit sends through AUEventListenerNotify goes to the one observer a
// host installed.
#include "platform/frameworks/Frameworks.h"

#include <mutex>

namespace
{
struct Observer
{
    std::mutex lock;
    VeridaneAUEventObserver function = nullptr;
    void* refCon = nullptr;
};

Observer& TheObserver()
{
    // Never destroyed: a unit may still send while the process ends.
    static auto* const observer = new Observer();
    return *observer;
}
} // namespace

void VeridaneSetAUEventObserver(VeridaneAUEventObserver observer, void* refCon)
{
    auto& installed = TheObserver();
    const std::lock_guard<std::mutex> guard(installed.lock);
    installed.function = observer;
    installed.refCon = refCon;
}

OSStatus AUEventListenerNotify(AUEventListenerRef, void*, const AudioUnitEvent* inEvent)
{
    if (inEvent == nullptr)
        return paramErr;
    auto& installed = TheObserver();
    // Held while the observer runs, so that it is never called after it was taken away.
    const std::lock_guard<std::mutex> guard(installed.lock);
    if (installed.function != nullptr)
        installed.function(installed.refCon, inEvent);
    return noErr;
}
