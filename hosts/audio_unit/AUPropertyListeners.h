// The property listeners of a unit, in registration order, duplicates allowed. Host threads add
// and remove them while any thread, the render thread included, may be calling them: a change
// publishes a new copy of the list, and a call walks the copy it found, which stays alive until
// no call is walking any copy. So calling takes no lock and allocates nothing, and a listener
// that changes the list does not disturb the walk it was called from.
#pragma once

#include "hosts/audio_unit/AURetirement.h"

#include "platform/AudioUnitTypes.h"

#include <atomic>
#include <memory>
#include <mutex>
#include <vector>

class AUPropertyListeners
{
public:
    struct PropertyListener
    {
        AudioUnitPropertyID propertyID;
        AudioUnitPropertyListenerProc listenerProc;
        void* listenerRefCon;
    };

    AUPropertyListeners() = default;
    ~AUPropertyListeners();

    void Add(const PropertyListener& listener);
    /** Removes every listener of the id with the function, and with the user data too when
        matchRefCon; the others keep their order. */
    void Remove(AudioUnitPropertyID id, AudioUnitPropertyListenerProc proc, void* refCon,
                bool matchRefCon);

    /** Calls the listeners of the id, in registration order, on the calling thread. */
    void Notify(AudioUnit unit, AudioUnitPropertyID id, AudioUnitScope scope,
                AudioUnitElement element) const;

    AUPropertyListeners(const AUPropertyListeners&) = delete;
    AUPropertyListeners& operator=(const AUPropertyListeners&) = delete;

private:
    using List = AURetirableValue<std::vector<PropertyListener>>;

    /** Publishes the new list; the old one waits until no call may still walk it. */
    void Publish(std::unique_ptr<List> next);

    std::atomic<List*> mCurrent{nullptr};
    /** The calls walking some copy of the list are its readers. */
    mutable AURetirement mWalkers;
    std::mutex mChanging;
};
