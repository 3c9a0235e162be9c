#include "hosts/audio_unit/CAMutex.h"

CAMutex::CAMutex()
{
    pthread_mutex_init(&mMutex, nullptr);
}

CAMutex::~CAMutex()
{
    pthread_mutex_destroy(&mMutex);
}

bool CAMutex::IsOwnedByCurrentThread() const
{
    // Only the owning thread can find itself recorded here, so the check needs no lock.
    return mOwned.load(std::memory_order_acquire) &&
           pthread_equal(mOwner.load(std::memory_order_relaxed), pthread_self());
}

bool CAMutex::Lock()
{
    if (IsOwnedByCurrentThread())
        return false;
    pthread_mutex_lock(&mMutex);
    mOwner.store(pthread_self(), std::memory_order_relaxed);
    mOwned.store(true, std::memory_order_release);
    return true;
}

void CAMutex::Unlock()
{
    mOwned.store(false, std::memory_order_release);
    pthread_mutex_unlock(&mMutex);
}
