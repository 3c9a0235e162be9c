#include "hosts/audio_unit/AUPropertyListeners.h"

#include <algorithm>

namespace
{
/** The first registrations do not reallocate. */
constexpr size_t kInitialRoom = 32;

class WalkerCount
{
public:
    explicit WalkerCount(std::atomic<int>& count) : mCount(count) { mCount.fetch_add(1); }
    ~WalkerCount() { mCount.fetch_sub(1); }

private:
    std::atomic<int>& mCount;
};
} // namespace

AUPropertyListeners::~AUPropertyListeners()
{
    delete mCurrent.load();
    for (const List* retired : mRetired)
        delete retired;
}

void AUPropertyListeners::Add(const PropertyListener& listener)
{
    const std::lock_guard<std::mutex> guard(mChanging);
    const List* current = mCurrent.load();
    List next;
    next.reserve(std::max(kInitialRoom, (current != nullptr ? current->size() : 0) + 1));
    if (current != nullptr)
        next = *current;
    next.push_back(listener);
    Publish(std::move(next));
}

void AUPropertyListeners::Remove(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc,
                                 void* refCon, bool matchRefCon)
{
    const std::lock_guard<std::mutex> guard(mChanging);
    const List* current = mCurrent.load();
    if (current == nullptr)
        return;
    List next = *current;
    std::erase_if(next,
                  [&](const PropertyListener& listener)
                  {
                      return listener.propertyID == id && listener.listenerProc == proc &&
                             (!matchRefCon || listener.listenerRefCon == refCon);
                  });
    if (next.size() != current->size())
        Publish(std::move(next));
}

void AUPropertyListeners::Publish(List next)
{
    // Room first, so that nothing can fail once the new list is out.
    mRetired.reserve(mRetired.size() + 1);
    const List* old = mCurrent.exchange(new List(std::move(next)));
    if (old != nullptr)
        mRetired.push_back(old);
    // A call that starts after the exchange finds the new list; when no call is walking now,
    // nobody holds an old one.
    if (mWalkers.load() != 0)
        return;
    for (const List* retired : mRetired)
        delete retired;
    mRetired.clear();
}

void AUPropertyListeners::Notify(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope,
                                 AudioUnitElement element) const
{
    const WalkerCount walking(mWalkers);
    const List* list = mCurrent.load();
    if (list == nullptr)
        return;
    for (const PropertyListener& listener : *list)
        if (listener.propertyID == id)
            listener.listenerProc(listener.listenerRefCon, unit, id, scope, element);
}
