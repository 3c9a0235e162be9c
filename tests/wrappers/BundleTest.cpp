// The built bundle as a host sees it: loaded with dlopen and reached only through its exported
// entry points and the effect record.
#include "hosts/vst2/VstAbi.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace
{
intptr_t silentHost(AEffect*, int32_t opcode, int32_t, intptr_t, void*, float)
{
    return opcode == audioMasterVersion ? 2400 : 0;
}

class Bundle
{
public:
    Bundle() : handle(dlopen(VERIDANE_BUNDLE_PATH, RTLD_NOW | RTLD_LOCAL)) {}
    ~Bundle()
    {
        if (handle != nullptr)
            dlclose(handle);
    }

    VstPluginMainProc entry(const char* name) const
    {
        return reinterpret_cast<VstPluginMainProc>(dlsym(handle, name));
    }

    void* handle;
};
} // namespace

TEST(WrapperBundle, BothEntryPointsCreateInstancesAcrossReloads)
{
    for (int load = 0; load < 2; ++load)
    {
        SCOPED_TRACE(load);
        Bundle bundle;
        ASSERT_NE(bundle.handle, nullptr) << dlerror();

        for (const char* name : {"VSTPluginMain", "main"})
        {
            SCOPED_TRACE(name);
            const auto entry = bundle.entry(name);
            ASSERT_NE(entry, nullptr);
            AEffect* const effect = entry(silentHost);
            ASSERT_NE(effect, nullptr);
            EXPECT_EQ(effect->magic, kEffectMagic);
            EXPECT_EQ(effect->uniqueID, 0x50625664);

            float samples[4][64] = {};
            float* channels[4] = {samples[0], samples[1], samples[2], samples[3]};
            effect->dispatcher(effect, effMainsChanged, 0, 1, nullptr, 0.0f);
            effect->processReplacing(effect, channels, channels, 64);
            EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
        }
        // Nothing of JUCE or the plug-in is reachable by name.
        EXPECT_EQ(dlsym(bundle.handle, "createPluginFilter"), nullptr);
        dlerror();
    }
}
