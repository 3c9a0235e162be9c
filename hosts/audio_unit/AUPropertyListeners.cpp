#include "hosts/audio_unit/AUPropertyListeners.h"

#include <algorithm>

namespace
{
/** The first registrations do not reallocate. */
constexpr size_t kInitialRoom = 32;
} // namespace

AUPropertyListeners::~AUPropertyListeners()
{
    delete mCurrent.load();
}

void AUPropertyListeners::Add(const PropertyListener& listener)
{
    const std::lock_guard<std::mutex> guard(mChanging);
    const List* current = mCurrent.load();
    auto next = std::make_unique<List>();
    next->value.reserve(
        std::max(kInitialRoom, (current != nullptr ? current->value.size() : 0) + 1));
    if (current != nullptr)
        next->value = current->value;
    next->value.push_back(listener);
    Publish(std::move(next));
}

void AUPropertyListeners::Remove(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc,
                                 void* refCon, bool matchRefCon)
{
    const std::lock_guard<std::mutex> guard(mChanging);
    const List* current = mCurrent.load();
    if (current == nullptr)
        return;
    auto next = std::make_unique<List>(current->value);
    std::erase_if(next->value,
                  [&](const PropertyListener& listener)
                  {
                      return listener.propertyID == id && listener.listenerProc == proc &&
                             (!matchRefCon || listener.listenerRefCon == refCon);
                  });
    if (next->value.size() != current->value.size())
        Publish(std::move(next));
}

void AUPropertyListeners::Publish(std::unique_ptr<List> next)
{
    // A call that starts after the exchange finds the new list.
    mWalkers.Retire(mCurrent.exchange(next.release()));
    mWalkers.FreeRetired();
}

void AUPropertyListeners::Notify(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope,
                                 AudioUnitElement element) const
{
    const AURetirement::Reading walking(mWalkers);
    const List* list = mCurrent.load();
    if (list == nullptr)
        return;
    for (const PropertyListener& listener : list->value)
        if (listener.propertyID == id)
            listener.listenerProc(listener.listenerRefCon, unit, id, scope, element);
}
