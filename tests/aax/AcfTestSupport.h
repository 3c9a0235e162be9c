// What the AAX tests share: a component object as the host receives it, and a fixture with a
// fake host that checks, after every test, that no component object is left alive and that the
// library gave back every host reference it took.
#pragma once

#include "hosts/aax/component/ACFComponent.h"
#include "hosts/aax/component/HostInterfaces.h"
#include "tests/hosts/aax/FakeHost.h"
#include "tests/hosts/aax/LibraryEntries.h"

#include <gtest/gtest.h>

#include <atomic>
#include <bit>
#include <dlfcn.h>

/** Offers one interface of its own besides the root; counts its destructions. */
class TestComponent final : public ACFComponent<IACFUnknown>
{
public:
    static constexpr ACFGuid kIID = acfGuid("{0B5E55ED-0000-4000-8000-00000000C0DE}");

    explicit TestComponent(std::atomic<int>& destroyed) : mDestroyed(destroyed) {}
    ~TestComponent() override { ++mDestroyed; }

    ACFResult InternalQueryInterface(const ACFGuid* iid, void** out) override
    {
        if (out != nullptr && isGuid(iid, kIID))
        {
            *out = static_cast<IACFUnknown*>(this);
            AddRef();
            return 0;
        }
        return CACFUnknown::InternalQueryInterface(iid, out);
    }

    /** The pointer the host holds. */
    void* hostInterface() { return static_cast<IACFUnknown*>(this); }

private:
    std::atomic<int>& mDestroyed;
};

/** The same identifier in the fake host's declarations. */
inline fakeaax::Guid hostGuid(const ACFGuid& id)
{
    return std::bit_cast<fakeaax::Guid>(id);
}

class AcfTest : public testing::Test
{
protected:
    void TearDown() override
    {
        exports.shutdown(nullptr);
        EXPECT_EQ(exports.canUnloadNow(nullptr), 0) << "component objects left alive";
        EXPECT_EQ(host.unbalanced(), std::vector<std::string>{});
    }

    fakeaax::FakeHost host;
    fakeaax::LibraryExports exports = fakeaax::LibraryExports::find(RTLD_DEFAULT);
};
