// One reference to a host interface, released when the holder goes, and the ways proxies
// obtain them.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/HostInterfaces.h"

#include <utility>

/** Owns one reference to a host interface, or nothing. */
class HostInterfaceRef
{
public:
    HostInterfaceRef() = default;
    /** Takes over a reference the caller already holds. */
    explicit HostInterfaceRef(IACFUnknown* adopted) : mInterface(adopted) {}
    ~HostInterfaceRef() { reset(); }

    HostInterfaceRef(HostInterfaceRef&& other) noexcept : mInterface(other.release()) {}
    HostInterfaceRef& operator=(HostInterfaceRef&& other) noexcept;
    HostInterfaceRef(const HostInterfaceRef&) = delete;
    HostInterfaceRef& operator=(const HostInterfaceRef&) = delete;

    IACFUnknown* get() const { return mInterface; }
    explicit operator bool() const { return mInterface != nullptr; }

    /** The interface for a call; throws kACFNullPointer (an integer) when there is none. */
    IACFUnknown* use() const;

    /** Releases the reference held, if any. */
    void reset();
    /** Hands the reference to the caller. */
    IACFUnknown* release();

private:
    IACFUnknown* mInterface = nullptr;
};

/** Takes one more reference on an object that may be null. */
HostInterfaceRef retainHostObject(IACFUnknown* object);

/** Asks the object for an interface. The pointer is kept only when the host answers success,
    so a refusal never leaves a reference to give back. */
ACFResult queryHostInterface(IACFUnknown* object, const ACFGuid& iid, HostInterfaceRef& out);

/** Versions 1 and 2 of one host component; version 2 is released first. */
struct HostComponent
{
    HostInterfaceRef v1;
    HostInterfaceRef v2;
};

/** Creates a component through the host object's component factory: version 1 through the
    factory, then version 2 (when asked for) from version 1. Anything the host does not give
    stays null; a factory that the host claims to give but does not throws kACFNullPointer. */
HostComponent createHostComponent(IACFUnknown* hostObject, const ACFGuid& componentID,
                                  const ACFGuid& v1, const ACFGuid* v2);

/** Asks the object itself for version 1 and (when asked for) version 2, each on its own; a null
    object gives neither. */
HostComponent queryHostComponent(IACFUnknown* object, const ACFGuid& v1, const ACFGuid* v2);

/** What an operation answers when the host did not give the interface it needs: version-1
    operations -20004, version-2 operations -20009. */
inline constexpr AAX_Result kMissingV1 = AAX_ERROR_NULL_OBJECT;
inline constexpr AAX_Result kMissingV2 = AAX_ERROR_UNIMPLEMENTED;

/** Calls Entry on the target with the arguments unchanged and answers the host's result, or
    answers `missing` without a call when the target is null. */
template <typename Entry, typename R, typename... Args>
R forwardOr(R missing, const HostInterfaceRef& target, Args... args)
{
    if (!target)
        return missing;
    return static_cast<R>(Entry::call(target.use(), args...));
}
