#include "platform/corefoundation/CFObject.h"

namespace veridane::cf
{
namespace
{
std::atomic<CFIndex> gLiveObjects{0};
}

CFObject::CFObject(TypeId type, bool immortal) : mType(type), mImmortal(immortal)
{
    if (!mImmortal)
        gLiveObjects.fetch_add(1, std::memory_order_relaxed);
}

CFObject::~CFObject()
{
    if (!mImmortal)
        gLiveObjects.fetch_sub(1, std::memory_order_relaxed);
}

void CFObject::Retain() const
{
    if (!mImmortal)
        mRetainCount.fetch_add(1, std::memory_order_relaxed);
}

void CFObject::Release() const
{
    if (mImmortal)
        return;
    // The last release must see every write made through the other references.
    if (mRetainCount.fetch_sub(1, std::memory_order_acq_rel) == 1)
        delete this;
}

} // namespace veridane::cf

using namespace veridane::cf;

CFTypeRef CFRetain(CFTypeRef object)
{
    if (object != nullptr)
        ObjectOf(object)->Retain();
    return object;
}

void CFRelease(CFTypeRef object)
{
    if (object != nullptr)
        ObjectOf(object)->Release();
}

CFIndex CFGetRetainCount(CFTypeRef object)
{
    return object != nullptr ? ObjectOf(object)->RetainCount() : 0;
}

CFTypeID CFGetTypeID(CFTypeRef object)
{
    return object != nullptr ? CFTypeID(ObjectOf(object)->Type()) : 0;
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b)
{
    if (a == b)
        return a != nullptr;
    if (a == nullptr || b == nullptr || ObjectOf(a)->Type() != ObjectOf(b)->Type())
        return false;
    return ObjectOf(a)->EqualTo(*ObjectOf(b));
}

CFIndex VeridaneCFGetLiveObjectCount(void)
{
    return gLiveObjects.load(std::memory_order_relaxed);
}

Boolean VeridaneCFPresent(void)
{
    return true;
}
