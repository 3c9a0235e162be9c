// The lock of a unit: a recursive mutex whose Lock says whether the call took it, so a caller
// that already holds it neither locks twice nor unlocks early. Host calls on one unit hold it one
// after the other; the render path never takes it. Lock order: the construction lock, then a
// unit's mutex; and no call holds a unit's mutex while it calls into another unit.
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
    bool IsOwnedByCurrentThread() const;

    CAMutex(const CAMutex&) = delete;
    CAMutex& operator=(const CAMutex&) = delete;

private:
    friend class CAMutexLocker;
    friend class CAMutexReleaser;

    pthread_mutex_t mMutex;
    std::atomic<pthread_t> mOwner{};
    std::atomic<bool> mOwned{false};
    /** Calls on the owning thread that found the lock held already (a listener calling back into
        the unit); only the owner touches it. */
    int mNestedHolds = 0;
};

/** Holds a unit's lock, when the unit has one, for one call; lets it go on every way out only
    when this call took it. */
class CAMutexLocker
{
public:
    explicit CAMutexLocker(CAMutex* mutex)
        : mMutex(mutex), mTookLock(mutex != nullptr && mutex->Lock())
    {
        if (mMutex != nullptr && !mTookLock)
            ++mMutex->mNestedHolds;
    }
    ~CAMutexLocker()
    {
        if (mTookLock)
            mMutex->Unlock();
        else if (mMutex != nullptr)
            --mMutex->mNestedHolds;
    }

    CAMutexLocker(const CAMutexLocker&) = delete;
    CAMutexLocker& operator=(const CAMutexLocker&) = delete;

private:
    CAMutex* const mMutex;
    const bool mTookLock;
};

/** Around a call into another unit, which takes that unit's lock: two units calling into each
    other from two threads would otherwise wait for each other for ever. Lets the lock go when the
    calling thread holds it for one host call only, and takes it back afterwards. A call nested in
    another on the same thread keeps it: the outer call relies on nobody else getting in. */
class CAMutexReleaser
{
public:
    explicit CAMutexReleaser(CAMutex* mutex)
        : mMutex(mutex),
          mReleased(mutex != nullptr && mutex->IsOwnedByCurrentThread() && mutex->mNestedHolds == 0)
    {
        if (mReleased)
            mMutex->Unlock();
    }
    ~CAMutexReleaser()
    {
        if (mReleased)
            mMutex->Lock();
    }

    CAMutexReleaser(const CAMutexReleaser&) = delete;
    CAMutexReleaser& operator=(const CAMutexReleaser&) = delete;

private:
    CAMutex* const mMutex;
    const bool mReleased;
};
