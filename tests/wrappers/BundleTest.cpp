// The built bundle as a host sees it: loaded with dlopen and reached only through its exported
// entry points and the effect record. This program, like a VST 2 host, has no CoreFoundation.
#include "hosts/vst2/VstAbi.h"
#include "platform/AudioUnitTypes.h"
#include "platform/frameworks/ParameterBlock.h"

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

    template <typename Function = VstPluginMainProc> Function entry(const char* name) const
    {
        return reinterpret_cast<Function>(dlsym(handle, name));
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

// Both roads refuse to open and give back what they took (LeakSanitizer sees the block otherwise).
TEST(WrapperBundle, AudioUnitRefusesToOpenWithoutCoreFoundation)
{
    ASSERT_EQ(dlsym(RTLD_DEFAULT, "VeridaneCFConstantString"), nullptr);
    Bundle bundle;
    ASSERT_NE(bundle.handle, nullptr) << dlerror();
    const auto factory = bundle.entry<AudioComponentFactoryFunction>("VeridaneAUFactory");
    const auto entry = bundle.entry<ComponentRoutine>("VeridaneAUEntry");
    ASSERT_NE(factory, nullptr);
    ASSERT_NE(entry, nullptr);

    AudioComponentPlugInInterface* const block = factory(nullptr);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(block->Open(block, nullptr), kAudioUnitErr_FailedInitialization);

    veridane::frameworks::ParameterBlock open(kComponentOpenSelect, nullptr);
    EXPECT_EQ(entry(&open.Header(), nullptr), kAudioUnitErr_FailedInitialization);
}
