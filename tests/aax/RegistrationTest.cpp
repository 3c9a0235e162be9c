#include "tests/aax/AcfTestSupport.h"

#include "hosts/aax/entry/AAX_Exports.h"
#include "hosts/aax/entry/AAX_HostServices.h"
#include "hosts/aax/proxies/AAX_ICollection.h"
#include "hosts/aax/proxies/AAX_IComponentDescriptor.h"
#include "hosts/aax/proxies/AAX_IEffectDescriptor.h"
#include "hosts/aax/proxies/AAX_IPropertyMap.h"

#include <functional>
#include <new>

using fakeaax::FakeHost;
using Strings = std::vector<std::string>;

namespace
{
std::function<int32_t(AAX_ICollection&)> gDescription;
char gProcess; // stands for the processing procedure
} // namespace

// The registration callback the plug-in's wrapper supplies; here each test supplies its own.
int32_t GetEffectDescriptions(AAX_ICollection* collection)
{
    return gDescription(*collection);
}

namespace
{
// One effect with one component and a property map, and a property map for the collection.
int32_t describeSmallEffect(AAX_ICollection& collection)
{
    auto* const effect = collection.NewDescriptor();
    effect->AddName("Veridane");
    auto* const component = effect->NewComponentDescriptor();
    component->AddAudioIn(0);
    auto* const properties = component->NewPropertyMap();
    properties->AddProperty(11, 0x5062726B);
    component->AddProcessProc_Native(&gProcess, properties, nullptr, nullptr, nullptr);
    effect->AddComponent(component);
    collection.AddEffect("com.Plumbrook.Veridane", effect);
    collection.SetProperties(collection.NewPropertyMap());
    return 0;
}

TEST_F(AcfTest, RegistrationSucceedsOrFailsWithBalancedReferences)
{
    struct Row
    {
        const char* name;
        std::function<void(FakeHost&)> configure;
        std::function<int32_t(AAX_ICollection&)> description;
        int32_t result;
        const char* out; // what the out pointer names afterwards
        Strings calls;
        bool nullHostObject = false;
        bool nullOut = false;
    };
    using enum FakeHost::Answer;
    const auto nothing = [](FakeHost&) {};
    const auto answering = [](const char* name, FakeHost::Answer answer)
    { return [=](FakeHost& h) { h.answer(name, answer); }; };
    const auto returning = [](int32_t answer) { return [=](AAX_ICollection&) { return answer; }; };
    const auto throwing = [](AAX_ICollection& collection) -> int32_t
    {
        collection.NewDescriptor()->NewComponentDescriptor();
        throw std::bad_alloc();
    };
    const Strings collectionOnly{"factory.3(Collection, null, CollectionV1)"};
    // clang-format off
    const Row rows[] = {
        {"complete host", nothing, describeSmallEffect, 0, "definition1",
         {"factory.3(Collection, null, CollectionV1)",
          "factory.3(EffectDescriptor, null, EffectDescriptorV1)", "effect1.4(\"Veridane\")",
          "factory.3(ComponentDescriptor, null, ComponentDescriptorV1)", "component1.5(0)",
          "factory.3(PropertyMap, null, PropertyMapV1)", "map1.4(11, 1348629099)",
          "component1.16(process, map1, null, null, null)", "effect1.3(component1)",
          "collection1.7(\"com.Plumbrook.Veridane\", effect1)",
          "factory.3(PropertyMap, null, PropertyMapV1)", "collection1.11(map2)"}},
        {"no component factory", answering("ComponentFactory", Refuse), describeSmallEffect, fakeaax::kNullObject, "null", {}},
        {"factory given as null", answering("ComponentFactory", SucceedWithNull), describeSmallEffect, fakeaax::kUnexpected, "untouched", {}},
        {"definition refused", answering("PluginDefinition", Refuse), returning(0), fakeaax::kNullObject, "null", collectionOnly},
        {"description fails", nothing, returning(-20004), fakeaax::kNullObject, "untouched", collectionOnly},
        {"description throws", nothing, throwing, fakeaax::kUnexpected, "untouched",
         {"factory.3(Collection, null, CollectionV1)",
          "factory.3(EffectDescriptor, null, EffectDescriptorV1)",
          "factory.3(ComponentDescriptor, null, ComponentDescriptorV1)"}},
        {"null host object", nothing, describeSmallEffect, fakeaax::kNullObject, "null", {}, true},
        {"null out pointer", nothing, describeSmallEffect, fakeaax::kNullObject, "untouched", {}, false, true},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeHost fresh;
        fresh.nameAddress(&gProcess, "process");
        row.configure(fresh);
        gDescription = row.description;
        int sentinel = 0;
        fresh.nameAddress(&sentinel, "untouched");
        void* out = &sentinel;

        EXPECT_EQ(exports.registerPlugin(row.nullHostObject ? nullptr : fresh.hostObject(),
                                         row.nullOut ? nullptr : &out),
                  row.result);
        EXPECT_EQ(fresh.nameOf(out), row.out);
        EXPECT_EQ(fresh.calls(), row.calls);
        if (row.result == 0)
            fakeaax::release(out);
        EXPECT_EQ(fresh.unbalanced(), Strings{});
    }
    gDescription = nullptr;
}

TEST_F(AcfTest, ExportsAnswerTheirFixedValuesAndRefuseNullOutPointers)
{
    void* const hostObject = host.hostObject();
    const auto& id = fakeaax::guid("ComponentFactory");
    uint64_t version = 0;
    void* component = &version;
    void* factory = &version;
    EXPECT_EQ(exports.getSDKVersion(&version), 0);
    EXPECT_EQ(version, 0x00000201007756BFull);
    EXPECT_EQ(exports.registerComponent(hostObject, 3, &component), 0);
    EXPECT_EQ(component, nullptr);
    EXPECT_EQ(exports.getClassFactory(hostObject, id, id, &factory), fakeaax::kUnimplemented);
    EXPECT_EQ(factory, nullptr);

    EXPECT_EQ(exports.getSDKVersion(nullptr), fakeaax::kNullObject);
    EXPECT_EQ(exports.registerComponent(hostObject, 3, nullptr), fakeaax::kNullObject);
    EXPECT_EQ(exports.getClassFactory(hostObject, id, id, nullptr), fakeaax::kNullObject);
    EXPECT_EQ(host.log(), Strings{});
}

// Start-up installs the host's services from the first host object that has them, shutdown
// removes them whatever it is given, and traces reach the host bounded, or nowhere.
TEST_F(AcfTest, HostServicesLiveFromFirstStartupToShutdown)
{
    FakeHost second;
    EXPECT_EQ(exports.startup(nullptr), 0);
    AAX_Trace(1, "unseen %d", 1);
    EXPECT_EQ(exports.shutdown(nullptr), 0);
    EXPECT_EQ(host.log(), Strings{});

    EXPECT_EQ(exports.startup(host.hostObject()), 0);
    EXPECT_EQ(exports.startup(second.hostObject()), 0);
    AAX_Trace(3, "gain %d dB, %s", -6, "ok");
    AAX_Trace(2, "%s!", std::string(600, 'x').c_str());
    EXPECT_EQ(exports.shutdown(second.hostObject()), 0);
    EXPECT_EQ(exports.shutdown(host.hostObject()), 0);
    AAX_Trace(1, "unseen");

    EXPECT_EQ(second.log(), Strings{});
    EXPECT_EQ(host.calls(), (Strings{"factory.3(HostServices, null, HostServicesV1)",
                                     "services1.4(3, \"gain -6 dB, ok\")",
                                     "services1.4(2, \"" + std::string(511, 'x') + "\")"}));
}
} // namespace
