#include "hosts/audio_unit/AUEntryCatch.h"
#include "hosts/audio_unit/AUPropertyTable.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>
#include <tuple>

using namespace autest;

namespace
{
constexpr AudioChannelLayoutTag kQuadTag = (101u << 16) | 4;
constexpr AudioChannelLayoutTag kOtherQuadTag = (103u << 16) | 4;

/** An output bus that supports two four-channel tags and keeps a set layout. */
struct LayoutBus : AUOutputElement
{
    using AUOutputElement::AUOutputElement;
    std::optional<AudioChannelLayoutTag> layout;

    UInt32 GetChannelLayoutTags(AudioChannelLayoutTag* tags) override
    {
        if (tags != nullptr)
            tags[0] = kQuadTag, tags[1] = kOtherQuadTag;
        return 2;
    }
    UInt32 GetAudioChannelLayout(AudioChannelLayout* out, Boolean& writable) override
    {
        writable = true;
        if (!layout)
            return 0;
        if (out != nullptr)
            *out = {*layout, 0, 0, {}};
        return UInt32(AudioChannelLayoutBytes(0));
    }
    OSStatus SetAudioChannelLayout(const AudioChannelLayout& in) override
    {
        layout = in.mChannelLayoutTag;
        return noErr;
    }
    OSStatus RemoveAudioChannelLayout() override
    {
        layout.reset();
        return noErr;
    }
};

/** Answers every optional property the base layer asks a unit about. */
struct FullUnit : TestUnit
{
    static constexpr AUChannelInfo kChannels[2] = {{4, 4}, {-1, -1}};

    FullUnit()
    {
        Outputs().SetNumberOfElements(0);
        Outputs().SetNumberOfElements(1);
        Globals().GetElement(0)->SetParameter(0, 1.0f);
        Globals().GetElement(0)->SetParameter(5, 0.25f);
    }
    std::unique_ptr<AUElement> CreateElement(AudioUnitScope scope,
                                             AudioUnitElement element) override
    {
        if (scope == kAudioUnitScope_Output)
            return std::make_unique<LayoutBus>(*this);
        return TestUnit::CreateElement(scope, element);
    }
    UInt32 SupportedNumChannels(const AUChannelInfo** out) override
    {
        if (out != nullptr)
            *out = kChannels;
        return 2;
    }
    UInt32 GetNumCustomUIComponents() override { return 3; }
    bool SupportsTail() override { return true; }
    Float64 GetTailTime() override { return 0.5; }
    OSStatus GetPresets(CFArrayRef* out) override
    {
        if (out != nullptr)
            *out = CFArrayCreateMutable(kCFAllocatorDefault, 0, &kCFTypeArrayCallBacks);
        return noErr;
    }
    OSStatus GetParameterValueStrings(AudioUnitScope, AudioUnitParameterID, CFArrayRef*) override
    {
        return noErr;
    }
};

struct InfoAnswer
{
    OSStatus result;
    UInt32 size;
    bool writable;
    bool operator==(const InfoAnswer&) const = default;
};

std::ostream& operator<<(std::ostream& out, const InfoAnswer& a)
{
    return out << "{" << a.result << ", " << a.size << ", " << a.writable << "}";
}

InfoAnswer Info(AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope,
                AudioUnitElement element = 0)
{
    InfoAnswer a{noErr, 0, false};
    a.result = AUEntryCatch(
        [&] { return unit.DispatchGetPropertyInfo(id, scope, element, a.size, a.writable); });
    return a;
}

OSStatus Set(AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
             const void* data, UInt32 size)
{
    return AUEntryCatch([&] { return unit.DispatchSetProperty(id, scope, element, data, size); });
}

template <typename T>
OSStatus SetValue(AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, const T& value)
{
    return Set(unit, id, scope, 0, &value, sizeof value);
}

template <typename T>
OSStatus GetValue(AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, T& value)
{
    return AUEntryCatch([&] { return unit.DispatchGetProperty(id, scope, 0, &value); });
}

/** A scope the rule refuses, or none for a rule that takes every scope. */
std::optional<AudioUnitScope> RefusedScope(AUScopeRule rule)
{
    switch (rule)
    {
    case AUScopeRule::globalOnly:
        return kAudioUnitScope_Input;
    case AUScopeRule::globalOrInput:
        return kAudioUnitScope_Output;
    case AUScopeRule::inputOrOutput:
        return kAudioUnitScope_Global;
    case AUScopeRule::any:
        break;
    }
    return std::nullopt;
}

AudioUnitScope AllowedScope(AUScopeRule rule)
{
    return rule == AUScopeRule::inputOrOutput ? kAudioUnitScope_Output : kAudioUnitScope_Global;
}
} // namespace

TEST(PropertyTable, EveryPropertyAnswersItsPublishedInfo)
{
    struct Row
    {
        AudioUnitPropertyID id;
        AudioUnitScope scope;
        InfoAnswer full;
    };
    constexpr AudioUnitScope G = kAudioUnitScope_Global, I = kAudioUnitScope_Input,
                             O = kAudioUnitScope_Output;
    constexpr OSStatus kNone = kAudioUnitErr_InvalidProperty;
    // clang-format off
    const Row rows[] = {
        {0, G, {0, 8, true}},     {1, I, {0, 16, true}},   {2, O, {0, 8, true}},
        {3, G, {0, 8, false}},    {4, G, {0, 104, false}}, {5, G, {0, 8, false}},
        {8, I, {0, 40, true}},    {11, I, {0, 4, false}},  {12, G, {0, 8, false}},
        {13, G, {0, 8, false}},   {14, G, {0, 4, true}},   {15, G, {kNone, 0, false}},
        {16, G, {0, 8, false}},   {18, G, {0, 60, false}}, {19, O, {kAudioUnitErr_InvalidPropertyValue, 0, true}},
        {20, G, {0, 8, false}},   {22, G, {0, 4, false}},  {23, I, {0, 16, true}},
        {24, G, {0, 8, false}},   {25, G, {0, 8, true}},   {27, G, {0, 32, true}},
        {30, I, {0, 8, true}},    {32, O, {0, 8, false}},  {35, G, {0, 16, false}},
        {36, G, {0, 16, true}},   {39, G, {kNone, 0, false}}, {51, O, {0, 4, true}},
        {53, G, {0, 8, false}},   {kAUBaseProperty_LastRenderSampleTime, G, {0, 8, false}},
    };
    // clang-format on
    std::map<AudioUnitPropertyID, bool> seen;
    for (const AUPropertyRow& row : AUBasePropertyTable())
        seen[row.id] = false;
    FullUnit full;
    TestUnit plain;
    for (const Row& row : rows)
    {
        SCOPED_TRACE(testing::Message() << "property " << row.id);
        EXPECT_EQ(Info(full, row.id, row.scope), row.full);
        seen[row.id] = true;
    }
    for (const auto& [id, covered] : seen)
        EXPECT_TRUE(covered) << "property " << id << " has no row here";

    // Without the optional answers, the properties that need them are not there.
    for (const AudioUnitPropertyID id : {13, 16, 18, 19, 20, 24, 32, 39})
        EXPECT_EQ(Info(plain, id, id == 19 || id == 32 ? O : G).result, kNone) << id;
    ComponentInitLocker lock;
    ComponentBase::sNewInstanceType = ComponentBase::kAudioComponentInstance;
    TestUnit plugInRoad;
    EXPECT_EQ(Info(plugInRoad, kAudioUnitProperty_FastDispatch, G).result, kNone);
    plugInRoad.SetAPIVersion(1);
    EXPECT_EQ(Info(plugInRoad, kAudioUnitProperty_SetRenderCallback, I).result, kNone);
}

TEST(PropertyTable, EveryRowRefusesTheWrongScopeElementAndSize)
{
    const std::vector<Byte> zeros(64, 0);
    for (const AUPropertyRow& row : AUBasePropertyTable())
    {
        SCOPED_TRACE(row.name);
        FullUnit unit;
        const AudioUnitScope allowed = AllowedScope(row.infoScope);
        if ((row.answers & kAnswersInfo) != 0)
        {
            if (const auto refused = RefusedScope(row.infoScope))
                EXPECT_EQ(Info(unit, row.id, *refused).result, kAudioUnitErr_InvalidScope);
            const bool available = Info(unit, row.id, allowed).result == noErr;
            if (row.infoElementCheck && available)
                EXPECT_EQ(Info(unit, row.id, allowed, 9).result, kAudioUnitErr_InvalidElement);
        }
        if ((row.answers & kAnswersSet) == 0)
            continue;
        const AudioUnitScope setScope = AllowedScope(row.setScope);
        if (row.setSizeRule != AUSizeRule::none)
        {
            EXPECT_EQ(Set(unit, row.id, setScope, 0, zeros.data(), row.setSize - 1),
                      kAudioUnitErr_InvalidPropertyValue);
            if (row.setSizeRule == AUSizeRule::exactly)
                EXPECT_EQ(Set(unit, row.id, setScope, 0, zeros.data(), row.setSize + 1),
                          kAudioUnitErr_InvalidPropertyValue);
        }
        const UInt32 rightSize = row.setSizeRule == AUSizeRule::none ? 32 : row.setSize;
        if (const auto refused = RefusedScope(row.setScope))
            EXPECT_EQ(Set(unit, row.id, *refused, 0, zeros.data(), rightSize),
                      kAudioUnitErr_InvalidScope);
        if (row.setElementCheck)
            EXPECT_EQ(Set(unit, row.id, setScope, 9, zeros.data(), row.setSize),
                      kAudioUnitErr_InvalidElement);
    }
}

TEST(PropertyValues, GetSetAndRemoveKeepValuesOwnershipAndNoticesStraight)
{
    constexpr AudioUnitScope G = kAudioUnitScope_Global, I = kAudioUnitScope_Input,
                             O = kAudioUnitScope_Output;
    struct Row
    {
        const char* name;
        std::function<void(FullUnit&)> check;
        AudioUnitPropertyID noticed;
        size_t notices;
    };
    Owned<CFStringRef> name(MakeString("Side"));
    CFStringRef got = nullptr;
    int a = 0, b = 0;
    const HostCallbackInfo callbacks{&a, nullptr, nullptr, nullptr};
    void* const firstOnly = &b;
    const AudioChannelLayout stereo{(100u << 16) | 2, 0, 0, {}}, quad{kQuadTag, 0, 0, {}},
        otherQuad{(102u << 16) | 4, 0, 0, {}}, claimsAll{kQuadTag, 0, 0xFFFFFFFF, {}};
    const std::vector<Byte> headerCut(8, 0);
    // clang-format off
    const Row rows[] = {
        {"context name: retained while held, a reference for each get, removed silently", [&](FullUnit& u) {
             EXPECT_EQ(SetValue(u, 25, G, name.get()), noErr);
             EXPECT_EQ(GetValue(u, 25, G, got), noErr);
             EXPECT_EQ(CFGetRetainCount(name.get()), 3);
             CFRelease(got);
             EXPECT_EQ(u.DispatchRemovePropertyValue(25, G, 0), noErr);
             EXPECT_EQ(CFGetRetainCount(name.get()), 1);
             EXPECT_EQ(GetValue(u, 25, G, got), kAudioUnitErr_InvalidPropertyValue); }, 25, 1},
        {"element name: none is refused, a set one comes back retained", [&](FullUnit& u) {
             EXPECT_EQ(AUEntryCatch([&] { return u.DispatchGetProperty(30, I, 0, &got); }),
                       kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(SetValue(u, 30, I, name.get()), noErr);
             EXPECT_EQ(GetValue(u, 30, I, got), noErr);
             EXPECT_EQ(TextOf(got), "Side");
             CFRelease(got); }, 30, 1},
        {"present preset: a custom one needs a name, a factory one a number and a name", [&](FullUnit& u) {
             EXPECT_EQ(SetValue(u, 36, G, AUPreset{-3, nullptr}), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(SetValue(u, 36, G, AUPreset{2, name.get()}), kAudioUnitErr_InvalidProperty);
             EXPECT_EQ(SetValue(u, 36, G, AUPreset{-3, name.get()}), noErr);
             EXPECT_FALSE(u.SetAFactoryPresetAsCurrent({3, nullptr}));
             EXPECT_FALSE(u.SetAFactoryPresetAsCurrent({-4, name.get()}));
             EXPECT_TRUE(u.SetAFactoryPresetAsCurrent({3, name.get()}));
             AUPreset preset{};
             EXPECT_EQ(GetValue(u, 36, G, preset), noErr);
             EXPECT_EQ(preset.presetNumber, 3);
             EXPECT_EQ(CFGetRetainCount(name.get()), 3);
             CFRelease(preset.presetName); }, 36, 1},
        {"host callbacks: only a change notifies, a short set clears the rest", [&](FullUnit& u) {
             EXPECT_EQ(u.DispatchRemovePropertyValue(27, G, 0), noErr);
             EXPECT_EQ(SetValue(u, 27, G, callbacks), noErr);
             EXPECT_EQ(SetValue(u, 27, G, callbacks), noErr);
             EXPECT_EQ(SetValue(u, 27, G, firstOnly), noErr);
             EXPECT_EQ(u.GetHostCallbackInfo().hostUserData, &b);
             EXPECT_EQ(u.DispatchRemovePropertyValue(27, I, 0), kAudioUnitErr_InvalidScope);
             EXPECT_EQ(u.DispatchRemovePropertyValue(27, G, 0), noErr); }, 27, 3},
        {"channel layout: size, count and tag decide, removal notifies", [&](FullUnit& u) {
             EXPECT_EQ(SetValue<AudioStreamBasicDescription>(u, 8, O, FloatFormat(4)), noErr);
             EXPECT_EQ(Set(u, 19, O, 0, headerCut.data(), 8), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(Set(u, 19, O, 0, &claimsAll, 32), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(Set(u, 19, O, 0, &stereo, 12), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(Set(u, 19, O, 0, &otherQuad, 12), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(Set(u, 19, O, 0, &quad, 12), noErr);
             EXPECT_EQ(Info(u, 19, O), (InfoAnswer{noErr, 12, true}));
             EXPECT_EQ(u.DispatchRemovePropertyValue(19, O, 0), noErr);
             EXPECT_EQ(u.DispatchRemovePropertyValue(19, O, 0), noErr); }, 19, 3},
        {"buffer allocation flag: only before initialisation, no notice", [&](FullUnit& u) {
             UInt32 flag = 7;
             EXPECT_EQ(SetValue(u, 51, O, UInt32(0)), noErr);
             EXPECT_EQ(GetValue(u, 51, O, flag), noErr);
             EXPECT_EQ(flag, 0u);
             u.DoInitialize();
             EXPECT_EQ(SetValue(u, 51, O, UInt32(1)), kAudioUnitErr_Initialized); }, 51, 0},
        {"a host's info and size query get the outs as a throwing query left them", [&](FullUnit& u) {
             UInt32 size = 7, sizeOnly = 7;
             Boolean writable = true;
             const auto info = [&] { return u.GetPropertyInfoForHost(8, I, 9, &size, &writable); };
             const auto sizeQuery = [&] { return u.GetPropertyForHost(8, 7, 0, nullptr, &sizeOnly); };
             EXPECT_EQ(AUEntryCatch(info), kAudioUnitErr_InvalidElement);
             EXPECT_EQ(AUEntryCatch(sizeQuery), kAudioUnitErr_InvalidScope);
             EXPECT_EQ(std::tuple(size, writable, sizeOnly), std::tuple(40u, Boolean(false), 40u)); }, 8, 0},
        {"the same callback and lent block again from every render retire nothing", [&](FullUnit& u) {
             alignas(16) static Byte block[16384];
             static AURenderCallback again; // a notification, and the render callback it sets
             again = [](void* unit, AudioUnitRenderActionFlags*, const AudioTimeStamp*, UInt32, UInt32, AudioBufferList*) {
                 SetValue(*static_cast<FullUnit*>(unit), 23, I, AURenderCallbackStruct{again, unit});
                 return SetValue(*static_cast<FullUnit*>(unit), 15, O, AudioUnitExternalBuffer{block, sizeof block}); };
             u.DoInitialize();
             u.SetRenderNotification(again, &u);
             HostBuffers out(2, 64);
             for (AudioTimeStamp time{}; time.mSampleTime < 64000; time.mSampleTime += 64) {
                 AudioUnitRenderActionFlags flags = 0;
                 EXPECT_EQ(u.DoRender(flags, time, 0, 64, out.list()), noErr);
                 if (time.mSampleTime == 0) // a host call outside a render frees what the first sets replaced
                     u.DoInitialize();
             }
             EXPECT_FALSE(u.GetRetirement().HoldsRetired()); }, 15, 0},
        {"the parameter list goes byte by byte to any address", [&](FullUnit& u) {
             alignas(4) Byte list[9] = {};
             EXPECT_EQ(AUEntryCatch([&] { return u.DispatchGetProperty(3, G, 0, list + 1); }), noErr);
             EXPECT_EQ(std::vector<Byte>(list + 1, list + 9), (std::vector<Byte>{0, 0, 0, 0, 5, 0, 0, 0})); },
         3, 0},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        FullUnit unit;
        ListenerLog log;
        log.Attach(unit, {row.noticed});
        row.check(unit);
        EXPECT_EQ(log.calls.size(), row.notices);
    }
}
