#include "hosts/aax/packets/AAX_CMutex.h"

#include <atomic>
#include <new>

struct AAX_CMutex::Record
{
    // Read by every thread that asks for the lock, written only by the holder: an atomic, so
    // the read is never a data race; only the owner can find its own identifier there.
    std::atomic<pthread_t> owner{0};
    pthread_mutex_t mutex;
};

namespace
{
bool isOwner(const std::atomic<pthread_t>& owner)
{
    const pthread_t current = owner.load(std::memory_order_relaxed);
    return current != 0 && pthread_equal(current, pthread_self()) != 0;
}
} // namespace

AAX_CMutex::AAX_CMutex() : mRecord(new (std::nothrow) Record)
{
    if (mRecord != nullptr && pthread_mutex_init(&mRecord->mutex, nullptr) != 0)
    {
        delete mRecord;
        mRecord = nullptr;
    }
}

AAX_CMutex::~AAX_CMutex()
{
    if (mRecord == nullptr)
        return;
    pthread_mutex_destroy(&mRecord->mutex);
    delete mRecord;
}

bool AAX_CMutex::Lock()
{
    if (mRecord == nullptr || isOwner(mRecord->owner))
        return false;
    pthread_mutex_lock(&mRecord->mutex);
    mRecord->owner.store(pthread_self(), std::memory_order_relaxed);
    return true;
}

void AAX_CMutex::Unlock()
{
    if (mRecord == nullptr || !isOwner(mRecord->owner))
        return;
    mRecord->owner.store(0, std::memory_order_relaxed);
    pthread_mutex_unlock(&mRecord->mutex);
}
