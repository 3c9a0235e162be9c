// Numbers keep the kind they were made with and convert on reading, saying whether the
// conversion was exact.
#include "platform/corefoundation/CFObject.h"

#include <cmath>
#include <cstdint>

namespace veridane::cf
{
namespace
{
class CFNumberObject final : public CFObject
{
public:
    explicit CFNumberObject(SInt32 value)
        : CFObject(kNumberTypeId), mIsFloat(false), mInteger(value), mFloat(0.0f)
    {
    }
    explicit CFNumberObject(Float32 value)
        : CFObject(kNumberTypeId), mIsFloat(true), mInteger(0), mFloat(value)
    {
    }

    bool EqualTo(const CFObject& other) const override
    {
        const auto& that = static_cast<const CFNumberObject&>(other);
        if (!mIsFloat && !that.mIsFloat)
            return mInteger == that.mInteger;
        return AsDouble() == that.AsDouble();
    }

    Boolean GetAsInteger(SInt32& out) const
    {
        if (!mIsFloat)
        {
            out = mInteger;
            return true;
        }
        if (std::isnan(mFloat))
        {
            out = 0;
            return false;
        }
        // Truncate toward zero, saturating at the ends of the range.
        const double truncated = std::trunc(double(mFloat));
        if (truncated <= double(INT32_MIN))
            out = INT32_MIN;
        else if (truncated >= double(INT32_MAX))
            out = INT32_MAX;
        else
            out = SInt32(truncated);
        return double(out) == double(mFloat);
    }

    Boolean GetAsFloat(Float32& out) const
    {
        if (mIsFloat)
        {
            out = mFloat;
            return true;
        }
        out = Float32(mInteger);
        return double(out) == double(mInteger);
    }

private:
    double AsDouble() const { return mIsFloat ? double(mFloat) : double(mInteger); }

    const bool mIsFloat;
    const SInt32 mInteger;
    const Float32 mFloat;
};
} // namespace
} // namespace veridane::cf

using namespace veridane::cf;

CFTypeID CFNumberGetTypeID(void)
{
    return kNumberTypeId;
}

CFNumberRef CFNumberCreate(CFAllocatorRef, CFNumberType type, const void* value)
{
    if (value == nullptr)
        return nullptr;
    return CreateOrNull(
        [&]() -> CFNumberRef
        {
            if (type == kCFNumberSInt32Type)
                return RefOf<CFNumberRef>(new CFNumberObject(*static_cast<const SInt32*>(value)));
            if (type == kCFNumberFloat32Type)
                return RefOf<CFNumberRef>(new CFNumberObject(*static_cast<const Float32*>(value)));
            return nullptr;
        });
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value)
{
    const auto* object = As<const CFNumberObject>(number, kNumberTypeId);
    if (object == nullptr || value == nullptr)
        return false;
    if (type == kCFNumberSInt32Type)
        return object->GetAsInteger(*static_cast<SInt32*>(value));
    if (type == kCFNumberFloat32Type)
        return object->GetAsFloat(*static_cast<Float32*>(value));
    return false;
}
