#include "hosts/aax/proxies/HostInterfaceRef.h"

#include "hosts/aax/component/AAX_Errors.h"

using namespace ACFHost;

HostInterfaceRef& HostInterfaceRef::operator=(HostInterfaceRef&& other) noexcept
{
    if (this != &other)
    {
        reset();
        mInterface = other.release();
    }
    return *this;
}

IACFUnknown* HostInterfaceRef::use() const
{
    if (mInterface == nullptr)
        throw kACFNullPointer;
    return mInterface;
}

void HostInterfaceRef::reset()
{
    if (auto* const held = release())
        Unknown::Release::call(held);
}

IACFUnknown* HostInterfaceRef::release()
{
    auto* const held = mInterface;
    mInterface = nullptr;
    return held;
}

HostInterfaceRef retainHostObject(IACFUnknown* object)
{
    if (object != nullptr)
        Unknown::AddRef::call(object);
    return HostInterfaceRef(object);
}

ACFResult queryHostInterface(IACFUnknown* object, const ACFGuid& iid, HostInterfaceRef& out)
{
    void* answer = nullptr;
    const ACFResult result = Unknown::QueryInterface::call(object, &iid, &answer);
    if (result == AAX_SUCCESS)
        out = HostInterfaceRef(static_cast<IACFUnknown*>(answer));
    return result;
}

HostComponent createHostComponent(IACFUnknown* hostObject, const ACFGuid& componentID,
                                  const ACFGuid& v1, const ACFGuid* v2)
{
    HostComponent component;
    if (hostObject == nullptr)
        return component;

    HostInterfaceRef factory;
    if (queryHostInterface(hostObject, ComponentFactory::kIID, factory) != AAX_SUCCESS)
        return component;

    void* created = nullptr;
    if (ComponentFactory::CreateComponent::call(factory.use(), componentID, nullptr, v1,
                                                &created) == AAX_SUCCESS)
        component.v1 = HostInterfaceRef(static_cast<IACFUnknown*>(created));

    if (v2 != nullptr && component.v1)
        queryHostInterface(component.v1.get(), *v2, component.v2);
    return component;
}

HostComponent queryHostComponent(IACFUnknown* object, const ACFGuid& v1, const ACFGuid* v2)
{
    HostComponent component;
    if (object == nullptr)
        return component;
    queryHostInterface(object, v1, component.v1);
    if (v2 != nullptr)
        queryHostInterface(object, *v2, component.v2);
    return component;
}
