// The host-facing side of a component: the host's interface first, so the object's address is
// the interface pointer the host holds, and the reference counting of CACFUnknown second.
#pragma once

#include "hosts/aax/component/CACFUnknown.h"

/** HostInterface derives from IACFUnknown; its first three entries reach the most-derived
    object's InternalQueryInterface, InternalAddRef and InternalRelease through the outer
    unknown. */
template <typename HostInterface> class ACFComponent : public HostInterface, public CACFUnknown
{
public:
    ACFResult QueryInterface(const ACFGuid* iid, void** out) override
    {
        return GetOuterUnknown()->QueryInterface(iid, out);
    }
    uint32_t AddRef() override { return GetOuterUnknown()->AddRef(); }
    uint32_t Release() override { return GetOuterUnknown()->Release(); }

    // Declared here, in this order, so that every component's table continues after the host's
    // entries with InternalQueryInterface and then the destructor pair, before anything a
    // derived class adds.
    ACFResult InternalQueryInterface(const ACFGuid* iid, void** out) override
    {
        return CACFUnknown::InternalQueryInterface(iid, out);
    }
    ~ACFComponent() override = default;
};
