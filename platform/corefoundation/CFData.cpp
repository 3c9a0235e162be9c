#include "platform/corefoundation/CFObject.h"

#include <vector>

namespace veridane::cf
{
namespace
{
class CFDataObject final : public CFObject
{
public:
    CFDataObject(const UInt8* bytes, CFIndex length)
        : CFObject(kDataTypeId), mBytes(bytes, bytes + length)
    {
    }

    bool EqualTo(const CFObject& other) const override
    {
        return mBytes == static_cast<const CFDataObject&>(other).mBytes;
    }

    std::vector<UInt8>& Bytes() { return mBytes; }

private:
    std::vector<UInt8> mBytes;
};

bool IsByteRange(const UInt8* bytes, CFIndex length)
{
    return length >= 0 && (bytes != nullptr || length == 0);
}
} // namespace
} // namespace veridane::cf

using namespace veridane::cf;

CFTypeID CFDataGetTypeID(void)
{
    return kDataTypeId;
}

CFDataRef CFDataCreate(CFAllocatorRef, const UInt8* bytes, CFIndex length)
{
    if (!IsByteRange(bytes, length))
        return nullptr;
    return CreateOrNull([&] { return RefOf<CFDataRef>(new CFDataObject(bytes, length)); });
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef, CFIndex capacity)
{
    if (capacity < 0)
        return nullptr;
    return CreateOrNull([&] { return RefOf<CFMutableDataRef>(new CFDataObject(nullptr, 0)); });
}

void CFDataAppendBytes(CFMutableDataRef data, const UInt8* bytes, CFIndex length)
{
    auto* object = As<CFDataObject>(data, kDataTypeId);
    if (object == nullptr || !IsByteRange(bytes, length) || length == 0)
        return;
    try
    {
        object->Bytes().insert(object->Bytes().end(), bytes, bytes + length);
    }
    catch (const std::bad_alloc&)
    {
        // Data that cannot grow is left as it was.
    }
}

CFIndex CFDataGetLength(CFDataRef data)
{
    auto* object = As<CFDataObject>(data, kDataTypeId);
    return object != nullptr ? CFIndex(object->Bytes().size()) : 0;
}

const UInt8* CFDataGetBytePtr(CFDataRef data)
{
    auto* object = As<CFDataObject>(data, kDataTypeId);
    return object != nullptr ? object->Bytes().data() : nullptr;
}
