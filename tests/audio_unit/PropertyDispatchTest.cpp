#include "hosts/audio_unit/AUPropertyTable.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <optional>

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
    InfoAnswer answer{noErr, 0, false};
    answer.result = StatusOf(
        [&]
        {
            const OSStatus r =
                unit.DispatchGetPropertyInfo(id, scope, element, answer.size, answer.writable);
            if (r != noErr)
                throw r;
        });
    return answer;
}

OSStatus Set(AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, AudioUnitElement element,
             const void* data, UInt32 size)
{
    OSStatus answer = noErr;
    const OSStatus thrown =
        StatusOf([&] { answer = unit.DispatchSetProperty(id, scope, element, data, size); });
    return thrown != noErr ? thrown : answer;
}

template <typename T>
OSStatus SetValue(AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, const T& value,
                  AudioUnitElement element = 0)
{
    return Set(unit, id, scope, element, &value, sizeof value);
}

template <typename T>
OSStatus GetValue(AUBase& unit, AudioUnitPropertyID id, AudioUnitScope scope, T& value,
                  AudioUnitElement element = 0)
{
    OSStatus answer = noErr;
    const OSStatus thrown =
        StatusOf([&] { answer = unit.DispatchGetProperty(id, scope, element, &value); });
    return thrown != noErr ? thrown : answer;
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
    using Check = std::function<void(FullUnit&, ListenerLog&)>;
    struct Row
    {
        const char* name;
        Check check;
    };
    constexpr AudioUnitScope G = kAudioUnitScope_Global, I = kAudioUnitScope_Input,
                             O = kAudioUnitScope_Output;
    const Row rows[] = {
        {"context name: retained while held, a copy for each get, removed silently",
         [](FullUnit& u, ListenerLog& log)
         {
             Owned<CFStringRef> name(MakeString("Bus A"));
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_ContextName, G, name.get()), noErr);
             CFStringRef got = nullptr;
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_ContextName, G, got), noErr);
             EXPECT_EQ(got, name.get());
             EXPECT_EQ(CFGetRetainCount(name.get()), 3);
             CFRelease(got);
             EXPECT_EQ(u.DispatchRemovePropertyValue(kAudioUnitProperty_ContextName, G, 0), noErr);
             EXPECT_EQ(CFGetRetainCount(name.get()), 1);
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_ContextName, G, got),
                       kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(log.CountOf(kAudioUnitProperty_ContextName), 1u);
         }},
        {"element name: none is refused, a set one comes back retained",
         [](FullUnit& u, ListenerLog& log)
         {
             CFStringRef got = nullptr;
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_ElementName, I, got),
                       kAudioUnitErr_InvalidPropertyValue);
             Owned<CFStringRef> name(MakeString("Side chain"));
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_ElementName, I, name.get()), noErr);
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_ElementName, I, got), noErr);
             EXPECT_EQ(TextOf(got), "Side chain");
             CFRelease(got);
             EXPECT_EQ(log.calls.back(), (ListenerCall{&log, nullptr, 30, I, 0}));
         }},
        {"present preset: custom taken, a negative number without a name refused",
         [](FullUnit& u, ListenerLog& log)
         {
             Owned<CFStringRef> name(MakeString("Warm"));
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_PresentPreset, G, AUPreset{-3, nullptr}),
                       kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_PresentPreset, G, AUPreset{2, name.get()}),
                       kAudioUnitErr_InvalidProperty);
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_PresentPreset, G, AUPreset{-3, name.get()}),
                       noErr);
             AUPreset got{};
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_PresentPreset, G, got), noErr);
             EXPECT_EQ(got.presetNumber, -3);
             EXPECT_EQ(TextOf(got.presetName), "Warm");
             CFRelease(got.presetName);
             EXPECT_EQ(log.CountOf(kAudioUnitProperty_PresentPreset), 1u);
         }},
        {"host callbacks: only a change notifies; a short set clears the rest",
         [](FullUnit& u, ListenerLog& log)
         {
             int a = 0, b = 0;
             HostCallbackInfo callbacks{&a, nullptr, nullptr, nullptr};
             EXPECT_EQ(u.DispatchRemovePropertyValue(kAudioUnitProperty_HostCallbacks, G, 0),
                       noErr);
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_HostCallbacks, G, callbacks), noErr);
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_HostCallbacks, G, callbacks), noErr);
             void* shortSet = &b;
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_HostCallbacks, G, shortSet), noErr);
             EXPECT_EQ(u.GetHostCallbackInfo().hostUserData, &b);
             EXPECT_EQ(u.DispatchRemovePropertyValue(kAudioUnitProperty_HostCallbacks, I, 0),
                       kAudioUnitErr_InvalidScope);
             EXPECT_EQ(u.DispatchRemovePropertyValue(kAudioUnitProperty_HostCallbacks, G, 0),
                       noErr);
             EXPECT_EQ(log.CountOf(kAudioUnitProperty_HostCallbacks), 3u);
         }},
        {"channel layout: count, tag and size decide; removal notifies",
         [](FullUnit& u, ListenerLog& log)
         {
             AudioChannelLayout stereo{(100u << 16) | 2, 0, 0, {}};
             AudioChannelLayout quad{kQuadTag, 0, 0, {}};
             AudioChannelLayout hexa{(102u << 16) | 4, 0, 0, {}};
             EXPECT_EQ(SetValue<AudioStreamBasicDescription>(u, kAudioUnitProperty_StreamFormat, O,
                                                             FloatFormat(4)),
                       noErr);
             const std::vector<Byte> headerCut(8, 0);
             EXPECT_EQ(Set(u, 19, O, 0, headerCut.data(), 8), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(Set(u, 19, O, 0, &stereo, 12), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(Set(u, 19, O, 0, &hexa, 12), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(Set(u, 19, O, 0, &quad, 12), noErr);
             AudioChannelLayout claimsAll{kQuadTag, 0, 0xFFFFFFFF, {}};
             EXPECT_EQ(Set(u, 19, O, 0, &claimsAll, 32), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_EQ(Info(u, 19, O), (InfoAnswer{noErr, 12, true}));
             EXPECT_EQ(u.DispatchRemovePropertyValue(19, O, 0), noErr);
             EXPECT_EQ(u.DispatchRemovePropertyValue(19, O, 0), noErr);
             EXPECT_EQ(log.CountOf(19), 3u);
         }},
        {"last render error: read once, then cleared",
         [](FullUnit& u, ListenerLog&)
         {
             HostBuffers buffers(2, 8);
             AudioUnitRenderActionFlags flags = 0;
             EXPECT_EQ(u.DoRender(flags, AudioTimeStamp{}, 0, 8, buffers.list()),
                       kAudioUnitErr_Uninitialized);
             OSStatus error = 1;
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_LastRenderError, G, error), noErr);
             EXPECT_EQ(error, kAudioUnitErr_Uninitialized);
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_LastRenderError, G, error), noErr);
             EXPECT_EQ(error, noErr);
         }},
        {"buffer allocation flag: only before initialisation, no notice",
         [](FullUnit& u, ListenerLog& log)
         {
             UInt32 flag = 7;
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_ShouldAllocateBuffer, O, UInt32(0)), noErr);
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_ShouldAllocateBuffer, O, flag), noErr);
             EXPECT_EQ(flag, 0u);
             u.DoInitialize();
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_ShouldAllocateBuffer, O, UInt32(1)),
                       kAudioUnitErr_Initialized);
             EXPECT_TRUE(log.calls.empty());
         }},
        {"external buffer: initialised units only, 16-byte aligned blocks only",
         [](FullUnit& u, ListenerLog&)
         {
             alignas(16) static Byte block[1 << 16];
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_SetExternalBuffer, O,
                                AudioUnitExternalBuffer{block, sizeof block}),
                       kAudioUnitErr_Uninitialized);
             u.DoInitialize();
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_SetExternalBuffer, O,
                                AudioUnitExternalBuffer{block + 8, sizeof block - 16}),
                       kAudio_ParamError);
             EXPECT_EQ(SetValue(u, kAudioUnitProperty_SetExternalBuffer, G,
                                AudioUnitExternalBuffer{block, sizeof block}),
                       noErr);
             EXPECT_EQ(u.GetOutput(0)->PrepareBuffer(1).mBuffers[0].mData, block);
         }},
        {"clump name: the system clump is refused; others go to the unit",
         [](FullUnit& u, ListenerLog&)
         {
             AudioUnitParameterNameInfo info{kAudioUnitClumpID_System, 10, nullptr};
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_ParameterClumpName, G, info),
                       kAudioUnitErr_InvalidPropertyValue);
             info.inID = 4;
             EXPECT_EQ(GetValue(u, kAudioUnitProperty_ParameterClumpName, G, info),
                       kAudioUnitErr_InvalidProperty);
         }},
        {"a property the base does not know goes to the unit, a set notifies on success only",
         [](FullUnit& u, ListenerLog& log)
         {
             UInt32 value = 1;
             EXPECT_EQ(SetValue(u, 54, G, value), kAudioUnitErr_InvalidProperty);
             EXPECT_EQ(u.DispatchRemovePropertyValue(54, G, 0), kAudioUnitErr_InvalidPropertyValue);
             EXPECT_TRUE(log.calls.empty());
         }},
    };
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        FullUnit unit;
        ListenerLog log;
        for (AudioUnitPropertyID id = 0; id < 60; ++id)
            unit.AddPropertyListener(id, ListenerLog::Listen, &log);
        row.check(unit, log);
    }
}
