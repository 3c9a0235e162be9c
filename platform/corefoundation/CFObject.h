// The common part of every object of the CoreFoundation stand-in: its kind, its reference count
// and the live-object count. Each kind of object derives from CFObject in its own source file.
#pragma once

#include "platform/CoreFoundation.h"

#include <atomic>
#include <new>

namespace veridane::cf
{

enum TypeId : CFTypeID
{
    kStringTypeId = 1,
    kNumberTypeId,
    kDataTypeId,
    kDictionaryTypeId,
    kArrayTypeId,
};

class CFObject
{
public:
    CFObject(TypeId type, bool immortal = false);
    virtual ~CFObject();

    /** Content equality with an object of the same kind; identity unless a kind says more. */
    virtual bool EqualTo(const CFObject& other) const { return this == &other; }

    void Retain() const;
    /** Frees the object when this was the last reference. */
    void Release() const;
    CFIndex RetainCount() const { return mRetainCount.load(std::memory_order_relaxed); }
    TypeId Type() const { return mType; }

    CFObject(const CFObject&) = delete;
    CFObject& operator=(const CFObject&) = delete;

private:
    const TypeId mType;
    const bool mImmortal;
    mutable std::atomic<CFIndex> mRetainCount{1};
};

/** The object behind a reference, or null when the reference is null. */
inline const CFObject* ObjectOf(CFTypeRef ref)
{
    return static_cast<const CFObject*>(ref);
}

/** The reference that hands an object out: every reference is the address of its CFObject. */
template <typename Ref> Ref RefOf(const CFObject* object)
{
    return reinterpret_cast<Ref>(const_cast<CFObject*>(object));
}

/** The object behind a reference when it is of the wanted kind, else null. */
template <typename Kind> Kind* As(CFTypeRef ref, TypeId type)
{
    const CFObject* object = ObjectOf(ref);
    if (object == nullptr || object->Type() != type)
        return nullptr;
    return static_cast<Kind*>(const_cast<CFObject*>(object));
}

/** Runs a creation and answers null instead of letting an allocation failure escape into C
    callers. */
template <typename Make> auto CreateOrNull(Make&& make) -> decltype(make())
{
    try
    {
        return make();
    }
    catch (const std::bad_alloc&)
    {
        return nullptr;
    }
}

} // namespace veridane::cf
