#include "hosts/aax/component/CACFUnknown.h"

#include "hosts/aax/component/AAX_Errors.h"

namespace
{
std::atomic<uint32_t> gActiveObjectCount{0};
}

CACFUnknown::CACFUnknown() : mOuterUnknown(&mInnerUnknown), mInnerUnknown(*this)
{
    ++gActiveObjectCount;
}

CACFUnknown::~CACFUnknown()
{
    --gActiveObjectCount;
}

ACFResult CACFUnknown::FinalConstruct()
{
    return AAX_SUCCESS;
}

void CACFUnknown::FinalRelease() {}

void CACFUnknown::DeleteThis()
{
    delete this;
}

ACFResult CACFUnknown::InternalQueryInterface(const ACFGuid* iid, void** out)
{
    if (out == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    *out = nullptr;
    if (!isGuid(iid, IID_IACFUnknown))
        return kACFNoInterface;
    *out = static_cast<IACFUnknown*>(&mInnerUnknown);
    mInnerUnknown.AddRef();
    return AAX_SUCCESS;
}

uint32_t CACFUnknown::InternalAddRef()
{
    return ++mReferenceCount;
}

uint32_t CACFUnknown::InternalRelease()
{
    const uint32_t remaining = --mReferenceCount;
    if (remaining == 0)
    {
        FinalRelease();
        DeleteThis();
    }
    return remaining;
}

uint32_t CACFUnknown::GetActiveObjectCount()
{
    return gActiveObjectCount.load(std::memory_order_relaxed);
}

ACFResult CACFUnknown::PrivateUnknown::QueryInterface(const ACFGuid* iid, void** out)
{
    return mOwner->InternalQueryInterface(iid, out);
}

uint32_t CACFUnknown::PrivateUnknown::AddRef()
{
    return mOwner->InternalAddRef();
}

uint32_t CACFUnknown::PrivateUnknown::Release()
{
    return mOwner->InternalRelease();
}
