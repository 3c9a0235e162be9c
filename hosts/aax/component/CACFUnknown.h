// Reference-counted base of every object the library hands to the host as a component.
#pragma once

#include "hosts/aax/component/ACF.h"

#include <atomic>

/** Gives a component its identity unknown, an atomic reference count and destruction at count
    zero, and counts the live components of the whole library (the host unloads the library only
    when none is left). References may be added and released on any thread. */
class CACFUnknown
{
public:
    /** Count 0; the creator hands the object out and every reference is taken through AddRef or
        a successful QueryInterface. */
    CACFUnknown();
    virtual ~CACFUnknown();

    CACFUnknown(const CACFUnknown&) = delete;
    CACFUnknown& operator=(const CACFUnknown&) = delete;

    virtual ACFResult FinalConstruct();
    /** Runs once, just before the last release deletes the object. */
    virtual void FinalRelease();
    virtual void DeleteThis();
    /** Answers IID_IACFUnknown with the inner unknown, a null identifier as no interface;
        derived classes add their interfaces and fall back to this one. */
    virtual ACFResult InternalQueryInterface(const ACFGuid* iid, void** out);
    virtual uint32_t InternalAddRef();
    /** The release whose own decrement reaches zero destroys the object. */
    virtual uint32_t InternalRelease();

    /** Live components in the library; advisory when other threads create or release them. */
    static uint32_t GetActiveObjectCount();

    /** Where the host-facing interface forwards QueryInterface, AddRef and Release. */
    IACFUnknown* GetOuterUnknown() const { return mOuterUnknown; }

private:
    class PrivateUnknown final : public IACFUnknown
    {
    public:
        explicit PrivateUnknown(CACFUnknown& owner) : mOwner(&owner) {}
        ACFResult QueryInterface(const ACFGuid* iid, void** out) override;
        uint32_t AddRef() override;
        uint32_t Release() override;

    private:
        CACFUnknown* mOwner;
    };

    std::atomic<uint32_t> mReferenceCount{0};
    IACFUnknown* mOuterUnknown;
    PrivateUnknown mInnerUnknown;
};
