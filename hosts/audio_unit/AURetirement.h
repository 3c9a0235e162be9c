// Records that readers on other threads may still hold when a host thread replaces them. A
// reader announces itself for as long as it may hold any record; a writer publishes the new
// record first and then retires the old one, which is freed by a writer once it finds no reader
// at all. Readers never wait, allocate or free, so the render path can be one: what the host
// frees is freed on a host thread, never under a render and never on the audio thread.
#pragma once

#include <atomic>
#include <utility>

/** A record a reader may hold: freed through its destructor once no reader can hold it. */
class AURetirable
{
public:
    AURetirable() = default;
    virtual ~AURetirable() = default;

    AURetirable(const AURetirable&) = delete;
    AURetirable& operator=(const AURetirable&) = delete;

private:
    friend class AURetirement;
    AURetirable* mNextRetired = nullptr;
};

/** A value published as one record, so that a reader never sees half an old and half a new one. */
template <typename Value> struct AURetirableValue : AURetirable
{
    template <typename... Args>
    explicit AURetirableValue(Args&&... args) : value(std::forward<Args>(args)...)
    {
    }
    Value value;
};

class AURetirement
{
public:
    AURetirement() = default;
    /** Frees everything retired: no reader may remain. */
    ~AURetirement();

    /** Reader: from here on it may hold what it reads. Answers whether no other reader was in
        (the outermost reading). */
    bool BeginReading() noexcept { return mReaders.fetch_add(1) == 0; }
    void EndReading() noexcept { mReaders.fetch_sub(1); }

    /** Writer, once no new reader can reach the record. Null is ignored. */
    void Retire(AURetirable* record) noexcept;
    /** Writer: frees what was retired, unless a reader is in; then it waits for a later call. */
    void FreeRetired() noexcept;
    /** Whether anything retired still waits to be freed. */
    bool HoldsRetired() const noexcept { return mRetired.load() != nullptr; }

    /** A reader for the scope's lifetime. */
    class Reading
    {
    public:
        explicit Reading(AURetirement& retirement) noexcept
            : mRetirement(retirement), mOutermost(retirement.BeginReading())
        {
        }
        ~Reading() { mRetirement.EndReading(); }
        bool IsOutermost() const noexcept { return mOutermost; }

        Reading(const Reading&) = delete;
        Reading& operator=(const Reading&) = delete;

    private:
        AURetirement& mRetirement;
        const bool mOutermost;
    };

    AURetirement(const AURetirement&) = delete;
    AURetirement& operator=(const AURetirement&) = delete;

private:
    void Push(AURetirable* first, AURetirable* last) noexcept;
    static void FreeChain(AURetirable* record) noexcept;

    std::atomic<int> mReaders{0};
    std::atomic<AURetirable*> mRetired{nullptr};
};

/** Retires the record, or frees it at once when there is no retirement (nothing reads it on
    another thread). */
inline void RetireOrFree(AURetirement* retirement, AURetirable* record) noexcept
{
    if (retirement != nullptr)
        retirement->Retire(record);
    else
        delete record;
}
