// The packet dispatcher's lock: a thread that already holds it passes without locking again.
#pragma once

#include <pthread.h>

/** Guarded code takes it with Lock and calls Unlock only if its own Lock answered true, so a
    nested call by the owner neither blocks nor releases the lock early. */
class AAX_CMutex
{
public:
    /** Without a working mutex every Lock answers false and nothing is guarded. */
    AAX_CMutex();
    ~AAX_CMutex();

    AAX_CMutex(const AAX_CMutex&) = delete;
    AAX_CMutex& operator=(const AAX_CMutex&) = delete;

    /** False, taking nothing, for the owner or without a mutex; otherwise blocks until the
        lock is this thread's and answers true. */
    bool Lock();
    /** Releases the lock when the calling thread owns it. */
    void Unlock();

private:
    struct Record;
    Record* mRecord;
};

/** Takes the lock for a scope and gives it back only if it took it. */
class ScopedMutexLock
{
public:
    explicit ScopedMutexLock(AAX_CMutex& mutex) : mMutex(mutex), mLocked(mutex.Lock()) {}
    ~ScopedMutexLock()
    {
        if (mLocked)
            mMutex.Unlock();
    }

    ScopedMutexLock(const ScopedMutexLock&) = delete;
    ScopedMutexLock& operator=(const ScopedMutexLock&) = delete;

private:
    AAX_CMutex& mMutex;
    bool mLocked;
};
