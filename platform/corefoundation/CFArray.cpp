// Arrays made with kCFTypeArrayCallBacks retain their values; arrays made without callbacks hold
// raw pointers (a unit's preset list holds preset records that are not objects).
#include "platform/corefoundation/CFObject.h"
#include "platform/corefoundation/CallBackRecords.h"

#include <vector>

const CFArrayCallBacks kCFTypeArrayCallBacks{1};

namespace veridane::cf
{
namespace
{
class CFArrayObject final : public CFObject
{
public:
    explicit CFArrayObject(bool retainsValues)
        : CFObject(kArrayTypeId), mRetainsValues(retainsValues)
    {
    }

    ~CFArrayObject() override
    {
        if (mRetainsValues)
            for (const void* value : mValues)
                CFRelease(value);
    }

    void Append(const void* value)
    {
        mValues.push_back(value);
        if (mRetainsValues)
            CFRetain(value);
    }

    const std::vector<const void*>& Values() const { return mValues; }

private:
    const bool mRetainsValues;
    std::vector<const void*> mValues;
};

CFArrayObject* ArrayOf(CFTypeRef ref)
{
    return As<CFArrayObject>(ref, kArrayTypeId);
}
} // namespace
} // namespace veridane::cf

using namespace veridane::cf;

CFTypeID CFArrayGetTypeID(void)
{
    return kArrayTypeId;
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef, CFIndex capacity,
                                       const CFArrayCallBacks* callBacks)
{
    if (capacity < 0)
        return nullptr;
    const bool retainsValues = callBacks != nullptr && callBacks->retains != 0;
    return CreateOrNull([&] { return RefOf<CFMutableArrayRef>(new CFArrayObject(retainsValues)); });
}

void CFArrayAppendValue(CFMutableArrayRef array, const void* value)
{
    auto* object = ArrayOf(array);
    if (object == nullptr)
        return;
    try
    {
        object->Append(value);
    }
    catch (const std::bad_alloc&)
    {
        // An array that cannot grow is left as it was.
    }
}

CFIndex CFArrayGetCount(CFArrayRef array)
{
    const auto* object = ArrayOf(array);
    return object != nullptr ? CFIndex(object->Values().size()) : 0;
}

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index)
{
    const auto* object = ArrayOf(array);
    if (object == nullptr || index < 0 || index >= CFIndex(object->Values().size()))
        return nullptr;
    return object->Values()[size_t(index)];
}
