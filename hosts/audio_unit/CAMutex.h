// The optional lock of a unit: a recursive mutex whose Lock says whether the call took it, so a
// caller that already holds it neither locks twice nor unlocks early.
#pragma once

#include <atomic>
#include <pthread.h>

class CAMutex
{
public:
    CAMutex();
    ~CAMutex();

    /** False when the calling thread holds the lock already. */
    bool Lock();
    void Unlock();

    CAMutex(const CAMutex&) = delete;
    CAMutex& operator=(const CAMutex&) = delete;

private:
    pthread_mutex_t mMutex;
    std::atomic<pthread_t> mOwner{};
    std::atomic<bool> mOwned{false};
};

/** Holds a unit's lock, when the unit has one, for one call; lets it go on every way out only
    when this call took it. */
class CAMutexLocker
{
public:
    explicit CAMutexLocker(CAMutex* mutex)
        : mMutex(mutex), mTookLock(mutex != nullptr && mutex->Lock())
    {
    }
    ~CAMutexLocker()
    {
        if (mTookLock)
            mMutex->Unlock();
    }

    CAMutexLocker(const CAMutexLocker&) = delete;
    CAMutexLocker& operator=(const CAMutexLocker&) = delete;

private:
    CAMutex* const mMutex;
    const bool mTookLock;
};
