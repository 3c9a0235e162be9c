#include "hosts/audio_unit/AURetirement.h"

AURetirement::~AURetirement()
{
    FreeChain(mRetired.exchange(nullptr));
}

void AURetirement::FreeChain(AURetirable* record) noexcept
{
    while (record != nullptr)
    {
        AURetirable* const next = record->mNextRetired;
        delete record;
        record = next;
    }
}

void AURetirement::Retire(AURetirable* record) noexcept
{
    if (record != nullptr)
        Push(record, record);
}

void AURetirement::Push(AURetirable* first, AURetirable* last) noexcept
{
    AURetirable* head = mRetired.load();
    do
        last->mNextRetired = head;
    while (!mRetired.compare_exchange_weak(head, first));
}

void AURetirement::FreeRetired() noexcept
{
    // A writer inside a reader (a host call made from a render) would only put the list back:
    // it leaves it alone without walking it.
    if (mReaders.load() != 0)
        return;
    // Taken before the readers are counted: what was retired by now was out of every later
    // reader's reach, so when no reader is in, nobody holds any of it.
    AURetirable* const taken = mRetired.exchange(nullptr);
    if (taken == nullptr)
        return;
    if (mReaders.load() != 0)
    {
        AURetirable* last = taken;
        while (last->mNextRetired != nullptr)
            last = last->mNextRetired;
        Push(taken, last);
        return;
    }
    FreeChain(taken);
}
