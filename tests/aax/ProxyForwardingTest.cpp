#include "tests/aax/AcfTestSupport.h"

#include "hosts/aax/proxies/AAX_IComponentDescriptor.h"
#include "hosts/aax/proxies/AAX_IEffectDescriptor.h"
#include "hosts/aax/proxies/AAX_IPropertyMap.h"
#include "hosts/aax/proxies/AAX_VAutomationDelegate.h"
#include "hosts/aax/proxies/AAX_VCollection.h"
#include "hosts/aax/proxies/AAX_VController.h"
#include "hosts/aax/proxies/AAX_VHostServices.h"
#include "hosts/aax/proxies/AAX_VTransport.h"
#include "hosts/aax/proxies/AAX_VViewContainer.h"
#include "hosts/aax/text/AAX_CString.h"

#include <cstring>
#include <functional>

using fakeaax::FakeHost;
using Strings = std::vector<std::string>;

namespace
{
// Where the proxies' out arguments point; filled with one byte before each call, so any write
// shows.
struct Scratch
{
    int32_t i32[2];
    int64_t i64[2];
    uint32_t u32;
    float f32;
    double f64;
    bool flag;
    const void* array;
    char bytes[8];
};

// Every proxy, built on the fake host's objects (or on null ones) as the library builds them.
struct Proxies
{
    Proxies(FakeHost& host, bool onNull)
        : collection(onNull ? nullptr : static_cast<IACFUnknown*>(host.hostObject())),
          effect(collection.NewDescriptor()), component(effect->NewComponentDescriptor()),
          map(component->NewPropertyMap()),
          services(onNull ? nullptr : static_cast<IACFUnknown*>(host.hostObject())),
          instance(onNull ? nullptr : static_cast<IACFUnknown*>(host.newInstanceObject())),
          controller(instance), automation(instance), transport(instance),
          view(onNull ? nullptr : static_cast<IACFUnknown*>(host.newViewObject()))
    {
    }

    AAX_VCollection collection;
    AAX_IEffectDescriptor* effect;
    AAX_IComponentDescriptor* component;
    AAX_IPropertyMap* map;
    AAX_VHostServices services;
    IACFUnknown* instance;
    AAX_VController controller;
    AAX_VAutomationDelegate automation;
    AAX_VTransport transport;
    AAX_VViewContainer view;
    AAX_CString text;
};

constexpr int64_t kHostAnswer = 7;
constexpr int64_t V1 = -20004; // a version-1 interface is missing
constexpr int64_t V2 = -20009; // a version-2 interface is missing, or the view container

template <typename T> int64_t number(T answer)
{
    if constexpr (std::is_pointer_v<T>)
        return reinterpret_cast<intptr_t>(answer);
    else
        return static_cast<int64_t>(answer);
}

struct Row
{
    const char* operation;
    int version;
    std::function<int64_t(Proxies&, Scratch&)> call;
    std::string reaches; // the call the host receives; empty: none, whatever the host offers
    int64_t present;     // the answer with the interface
    int64_t missing;     // the answer without it
    bool zeroesI64 = false;
    int64_t hostAnswer = kHostAnswer;
};

#define CALL(expression) [](Proxies& p, Scratch& s) { return number(expression); }

// clang-format off
const Row kRows[] = {
    {"AddEffect", 1, CALL(p.collection.AddEffect("fx", p.effect)), "collection1.7(\"fx\", effect1)", 7, V1},
    {"AddEffect of null", 1, CALL(p.collection.AddEffect("fx", nullptr)), "", V1, V1},
    {"SetManufacturerName", 1, CALL(p.collection.SetManufacturerName("maker")), "collection1.8(\"maker\")", 7, V1},
    {"AddPackageName", 1, CALL(p.collection.AddPackageName("pkg")), "collection1.9(\"pkg\")", 7, V1},
    {"SetPackageVersion", 1, CALL(p.collection.SetPackageVersion(0x10000)), "collection1.10(65536)", 7, V1},
    {"collection SetProperties", 1, CALL(p.collection.SetProperties(p.map)), "collection1.11(map1)", 7, V1},
    {"collection SetProperties of null", 1, CALL(p.collection.SetProperties(nullptr)), "collection1.11(null)", 7, V1},
    {"AddComponent", 1, CALL(p.effect->AddComponent(p.component)), "effect1.3(component1)", 7, V1},
    {"AddComponent of null", 1, CALL(p.effect->AddComponent(nullptr)), "effect1.3(null)", 7, V1},
    {"AddName", 1, CALL(p.effect->AddName("name")), "effect1.4(\"name\")", 7, V1},
    {"AddCategory", 1, CALL(p.effect->AddCategory(0x200)), "effect1.5(512)", 7, V1},
    {"AddCategoryBypassParameter", 1, CALL(p.effect->AddCategoryBypassParameter(3, "bypass")), "effect1.6(3, \"bypass\")", 7, V1},
    {"AddProcPtr", 1, CALL(p.effect->AddProcPtr(s.bytes, 1)), "effect1.7(bytes, 1)", 7, V1},
    {"effect SetProperties", 1, CALL(p.effect->SetProperties(p.map)), "effect1.8(map1)", 7, V1},
    {"AddResourceInfo", 1, CALL(p.effect->AddResourceInfo(4, "info")), "effect1.9(4, \"info\")", 7, V1},
    {"AddMeterDescription", 1, CALL(p.effect->AddMeterDescription(5, "meter", p.map)), "effect1.10(5, \"meter\", map1)", 7, V1},
    {"AddControlMIDINode", 2, CALL(p.effect->AddControlMIDINode(6, 7, "node", 0xFFFF)), "effect1.v2.11(6, 7, \"node\", 65535)", 7, V2},
    {"Clear", 1, CALL(p.component->Clear()), "component1.3()", 7, V1},
    {"AddAudioIn", 1, CALL(p.component->AddAudioIn(0)), "component1.5(0)", 7, V1},
    {"AddAudioOut", 1, CALL(p.component->AddAudioOut(1)), "component1.6(1)", 7, V1},
    {"AddAudioBufferLength", 1, CALL(p.component->AddAudioBufferLength(2)), "component1.7(2)", 7, V1},
    {"AddSampleRate", 1, CALL(p.component->AddSampleRate(3)), "component1.8(3)", 7, V1},
    {"AddClock", 1, CALL(p.component->AddClock(4)), "component1.9(4)", 7, V1},
    {"AddSideChainIn", 1, CALL(p.component->AddSideChainIn(5)), "component1.10(5)", 7, V1},
    {"AddDataInPort", 1, CALL(p.component->AddDataInPort(3, 4, 1)), "component1.11(3, 4, 1)", 7, V1},
    {"AddAuxOutputStem", 1, CALL(p.component->AddAuxOutputStem(6, 0x00040004, "aux")), "component1.12(6, 262148, \"aux\")", 7, V1},
    {"AddPrivateData", 1, CALL(p.component->AddPrivateData(5, 8, 0)), "component1.13(5, 8, 0)", 7, V1},
    {"AddMIDINode", 1, CALL(p.component->AddMIDINode(4, 0, "Veridane", 0xFFFF)), "component1.15(4, 0, \"Veridane\", 65535)", 7, V1},
    {"AddProcessProc_Native", 1, CALL(p.component->AddProcessProc_Native(s.bytes, p.map, s.i32, s.i64, nullptr)), "component1.16(bytes, map1, i32, i64, null)", 7, V1},
    {"AddProcessProc_TI", 1, CALL(p.component->AddProcessProc_TI(s.i32, s.i64, p.map, &s.u32, nullptr)), "component1.17(i32, i64, map1, u32, null)", 7, V1},
    {"GetProperty", 1, CALL(p.map->GetProperty(9, s.i32)), "map1.3(9, i32)", 1, 0},
    {"GetProperty, low byte clear", 1, CALL(p.map->GetProperty(9, s.i32)), "map1.3(9, i32)", 0, 0, false, 0x100},
    {"AddProperty", 1, CALL(p.map->AddProperty(10, -3)), "map1.4(10, -3)", 7, V1},
    {"RemoveProperty", 1, CALL(p.map->RemoveProperty(11)), "map1.5(11)", 7, V1},
    {"AddPropertyWithIDArray", 2, CALL(p.map->AddPropertyWithIDArray(12, s.bytes, 2)), "map1.v2.6(12, bytes, 2)", 7, V2},
    {"GetPropertyWithIDArray", 2, CALL(p.map->GetPropertyWithIDArray(13, &s.array, &s.u32)), "map1.v2.7(13, array, u32)", 1, 0},
    {"HandleAssertFailure", 1, CALL(p.services.HandleAssertFailure("file.cpp", 12, "note")), "services1.3(\"file.cpp\", 12, \"note\")", 7, V1},
    {"Trace", 1, CALL(p.services.Trace(2, "text")), "services1.4(2, \"text\")", 7, V1},
    {"GetEffectID", 1, CALL(p.controller.GetEffectID(&p.text)), "controller1.3(text)", 7, V1},
    {"GetSampleRate", 1, CALL(p.controller.GetSampleRate(&s.f32)), "controller1.4(f32)", 7, V1},
    {"GetInputStemFormat", 1, CALL(p.controller.GetInputStemFormat(s.i32)), "controller1.5(i32)", 7, V1},
    {"GetOutputStemFormat", 1, CALL(p.controller.GetOutputStemFormat(s.i32)), "controller1.6(i32)", 7, V1},
    {"GetSignalLatency", 1, CALL(p.controller.GetSignalLatency(s.i32)), "controller1.7(i32)", 7, V1},
    {"GetCycleCount", 1, CALL(p.controller.GetCycleCount(3, s.i32)), "controller1.8(3, i32)", 7, V1},
    {"GetTODLocation", 1, CALL(p.controller.GetTODLocation(s.i64)), "controller1.9(i64)", 7, V1},
    {"SetSignalLatency", 1, CALL(p.controller.SetSignalLatency(64)), "controller1.10(64)", 7, V1},
    {"SetCycleCount", 1, CALL(p.controller.SetCycleCount(&s.u32, s.i32, 2)), "controller1.11(u32, i32, 2)", 7, V1},
    {"PostPacket", 1, CALL(p.controller.PostPacket(3, s.bytes, 4)), "controller1.12(3, bytes, 4)", 7, V1},
    {"SendNotification", 2, CALL(p.controller.SendNotification(0x41535076, s.bytes, 4)), "controller1.v2.20(1095979126, bytes, 4)", 7, V2},
    {"controller entry 22, zeroed without version 2", 2, CALL(p.controller.ForwardToEntry22(s.i64)), "controller1.v2.22(i64)", 7, V2, true},
    {"RegisterParameter", 1, CALL(p.automation.RegisterParameter("0")), "automation1.3(\"0\")", 7, V1},
    {"UnregisterParameter", 1, CALL(p.automation.UnregisterParameter("0")), "automation1.4(\"0\")", 7, V1},
    {"PostSetValueRequest", 1, CALL(p.automation.PostSetValueRequest("0", 0.25)), "automation1.5(\"0\", 0.25)", 7, V1},
    {"PostCurrentValue", 1, CALL(p.automation.PostCurrentValue("0", 0.1)), "automation1.6(\"0\", 0.1)", 7, V1},
    {"PostTouchRequest", 1, CALL(p.automation.PostTouchRequest("0")), "automation1.7(\"0\")", 7, V1},
    {"PostReleaseRequest", 1, CALL(p.automation.PostReleaseRequest("0")), "automation1.8(\"0\")", 7, V1},
    {"GetTouchState", 1, CALL(p.automation.GetTouchState("0", &s.flag)), "automation1.9(\"0\", flag)", 7, V1},
    {"GetCurrentTempo", 1, CALL(p.transport.GetCurrentTempo(&s.f64)), "transport1.3(f64)", 7, V1},
    {"GetCurrentMeter", 1, CALL(p.transport.GetCurrentMeter(s.i32, s.i32 + 1)), "transport1.4(i32, i32b)", 7, V1},
    {"IsTransportPlaying", 1, CALL(p.transport.IsTransportPlaying(&s.flag)), "transport1.5(flag)", 7, V1},
    {"GetCurrentTickPosition", 1, CALL(p.transport.GetCurrentTickPosition(s.i64)), "transport1.6(i64)", 7, V1},
    {"GetCurrentLoopPosition", 1, CALL(p.transport.GetCurrentLoopPosition(&s.flag, s.i64, s.i64 + 1)), "transport1.7(flag, i64, i64b)", 7, V1},
    {"GetCurrentNativeSampleLocation", 1, CALL(p.transport.GetCurrentNativeSampleLocation(s.i64)), "transport1.8(i64)", 7, V1},
    {"GetCustomTickPosition", 1, CALL(p.transport.GetCustomTickPosition(s.i64, 48000)), "transport1.9(i64, 48000)", 7, V1},
    {"GetBarBeatPosition", 1, CALL(p.transport.GetBarBeatPosition(s.i32, s.i32 + 1, s.i64, 96000)), "transport1.10(i32, i32b, i64, 96000)", 7, V1},
    {"GetTicksPerQuarter", 1, CALL(p.transport.GetTicksPerQuarter(&s.u32)), "transport1.11(u32)", 7, V1},
    {"GetCurrentTicksPerBeat", 1, CALL(p.transport.GetCurrentTicksPerBeat(&s.u32)), "transport1.12(u32)", 7, V1},
    {"GetTimelineSelectionStartPosition", 2, CALL(p.transport.GetTimelineSelectionStartPosition(s.i64)), "transport1.v2.13(i64)", 7, V2},
    {"GetTimeCodeInfo", 2, CALL(p.transport.GetTimeCodeInfo(s.i32, s.i32 + 1)), "transport1.v2.14(i32, i32b)", 7, V2},
    {"GetFeetFramesInfo", 2, CALL(p.transport.GetFeetFramesInfo(s.i32, s.i64)), "transport1.v2.15(i32, i64)", 7, V2},
    {"IsMetronomeEnabled", 2, CALL(p.transport.IsMetronomeEnabled(s.i32)), "transport1.v2.16(i32)", 7, V2},
    {"GetType", 1, CALL(p.view.GetType()), "view1.3()", 7, 0},
    {"GetPtr", 1, CALL(p.view.GetPtr()), "view1.4()", 7, 0},
    {"GetModifiers", 1, CALL(p.view.GetModifiers(&s.u32)), "view1.5(u32)", 7, V2},
    {"SetViewSize", 1, CALL(p.view.SetViewSize(AAX_ViewSize{233, 443})), "view1.6(233x443)", 7, 0},
    {"HandleParameterMouseDown", 1, CALL(p.view.HandleParameterMouseDown("0", 2)), "view1.7(\"0\", 2)", 7, V2},
    {"HandleParameterMouseDrag", 1, CALL(p.view.HandleParameterMouseDrag("0", 2)), "view1.8(\"0\", 2)", 7, V2},
    {"HandleParameterMouseUp", 1, CALL(p.view.HandleParameterMouseUp("0", 2)), "view1.9(\"0\", 2)", 7, V2},
};
// clang-format on

#undef CALL

enum class Offer
{
    Everything,
    NoVersion1,
    NoVersion2,
    NullObjects,
};

void restrict(FakeHost& host, Offer offer)
{
    const char* const version1[] = {"CollectionV1",  "EffectDescriptorV1", "ComponentDescriptorV1",
                                    "PropertyMapV1", "HostServicesV1",     "ControllerV1",
                                    "AutomationV1",  "TransportV1",        "ViewContainerV1"};
    const char* const version2[] = {"EffectDescriptorV2", "ComponentDescriptorV2", "PropertyMapV2",
                                    "ControllerV2", "TransportV2"};
    if (offer == Offer::NoVersion1)
        for (const char* name : version1)
            host.answer(name, FakeHost::Answer::Refuse);
    if (offer == Offer::NoVersion2)
        for (const char* name : version2)
            host.answer(name, FakeHost::Answer::Refuse);
}

bool reachesHost(const Row& row, Offer offer)
{
    if (row.reaches.empty() || offer == Offer::NullObjects)
        return false;
    // The controller and the transport ask the instance for version 2 directly; the others ask
    // their version 1 for it.
    const bool version2OnItsOwn =
        row.reaches.starts_with("controller") || row.reaches.starts_with("transport");
    switch (offer)
    {
    case Offer::NoVersion1:
        return row.version == 2 && version2OnItsOwn;
    case Offer::NoVersion2:
        return row.version == 1;
    default:
        return true;
    }
}

TEST_F(AcfTest, ProxiesForwardByEntryNumberOrAnswerForTheMissingInterface)
{
    const std::pair<Offer, const char*> offers[] = {{Offer::Everything, "everything offered"},
                                                    {Offer::NoVersion1, "no version 1"},
                                                    {Offer::NoVersion2, "no version 2"},
                                                    {Offer::NullObjects, "null objects"}};
    for (const auto& [offer, offerName] : offers)
    {
        for (const auto& row : kRows)
        {
            SCOPED_TRACE(std::string(row.operation) + ", " + offerName);
            FakeHost fresh;
            restrict(fresh, offer);
            fresh.answerEntries(row.hostAnswer);
            Scratch scratch;
            const std::pair<const void*, const char*> names[] = {
                {scratch.i32, "i32"},      {scratch.i32 + 1, "i32b"}, {scratch.i64, "i64"},
                {scratch.i64 + 1, "i64b"}, {&scratch.u32, "u32"},     {&scratch.f32, "f32"},
                {&scratch.f64, "f64"},     {&scratch.flag, "flag"},   {&scratch.array, "array"},
                {scratch.bytes, "bytes"}};
            for (const auto& [address, name] : names)
                fresh.nameAddress(address, name);
            {
                Proxies proxies(fresh, offer == Offer::NullObjects);
                fresh.nameAddress(&proxies.text, "text");
                fresh.clearLog();
                std::memset(&scratch, 0x5A, sizeof scratch);
                Scratch expected = scratch;

                const bool reaches = reachesHost(row, offer);
                EXPECT_EQ(row.call(proxies, scratch), reaches ? row.present : row.missing);
                EXPECT_EQ(fresh.log(), reaches ? Strings{row.reaches} : Strings{});
                if (!reaches && row.zeroesI64)
                    expected.i64[0] = 0;
                EXPECT_EQ(std::memcmp(&scratch, &expected, sizeof scratch), 0)
                    << "an out value was written";
            }
            EXPECT_EQ(fresh.unbalanced(), Strings{});
        }
    }
}

TEST_F(AcfTest, DuplicatedPropertyMapCopiesProperties10To351)
{
    AAX_VCollection collection(static_cast<IACFUnknown*>(host.hostObject()));
    auto* const component = collection.NewDescriptor()->NewComponentDescriptor();
    auto* const source = component->NewPropertyMap();
    for (const uint32_t id : {9u, 10u, 351u, 352u})
        source->AddProperty(id, static_cast<int32_t>(id * 10));
    host.clearLog();

    auto* const copy = component->DuplicatePropertyMap(source);
    auto* const fromNull = component->DuplicatePropertyMap(nullptr);
    EXPECT_TRUE(copy != nullptr && fromNull != nullptr && copy != fromNull);
    Strings additions;
    for (const auto& call : host.calls())
        if (!call.starts_with("map1.3("))
            additions.push_back(call);
    EXPECT_EQ(additions,
              (Strings{"factory.3(PropertyMap, null, PropertyMapV1)", "map2.4(10, 100)",
                       "map2.4(351, 3510)", "factory.3(PropertyMap, null, PropertyMapV1)"}));
}
} // namespace
