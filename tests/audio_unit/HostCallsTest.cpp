#include "hosts/audio_unit/AUEntryCatch.h"
#include "hosts/audio_unit/AUFastDispatch.h"

#include "tests/audio_unit/TestUnit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>

using namespace autest;

namespace
{
constexpr AudioUnitScope G = kAudioUnitScope_Global;
/** A property of the unit's own that reads its question from the caller's buffer. */
constexpr AudioUnitPropertyID kDoubling = 0x10000;

/** Hands out a parameter name the caller owns, and answers a property that doubles the word the
    caller put first, provided the word after it is zero. */
struct HostFacingUnit : TestUnit
{
    Owned<CFStringRef> parameterName{MakeString("Gain")};
    bool nameParameter = true;

    OSStatus GetParameterInfo(AudioUnitScope, AudioUnitParameterID,
                              AudioUnitParameterInfo& info) override
    {
        info = {};
        if (nameParameter)
        {
            info.flags =
                kAudioUnitParameterFlag_HasCFNameString | kAudioUnitParameterFlag_CFNameRelease;
            info.cfNameString = static_cast<CFStringRef>(CFRetain(parameterName.get()));
        }
        info.maxValue = 1.0f;
        return noErr;
    }
    OSStatus GetPropertyInfo(AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement, UInt32& size,
                             bool&) override
    {
        size = 8;
        return id == kDoubling ? noErr : OSStatus(kAudioUnitErr_InvalidProperty);
    }
    OSStatus GetProperty(AudioUnitPropertyID id, AudioUnitScope, AudioUnitElement,
                         void* data) override
    {
        if (id != kDoubling)
            return kAudioUnitErr_InvalidProperty;
        auto* words = static_cast<UInt32*>(data);
        if (words[1] != 0)
            return kAudioUnitErr_InvalidPropertyValue;
        words[0] *= 2;
        words[1] = 0xFFFFFFFF;
        return noErr;
    }
};
} // namespace

TEST(GetPropertyForHost, AsksSizesChecksThemAndTruncatesOnlyPlainValues)
{
    struct Row
    {
        const char* name;
        AudioUnitPropertyID id;
        bool withData;
        UInt32 callerSize;
        OSStatus expected;
        UInt32 sizeAfter;
        std::vector<Byte> bytesAfter;
    };
    int hostData = 0;
    Byte hostDataBytes[8];
    const void* hostDataPointer = &hostData;
    std::memcpy(hostDataBytes, &hostDataPointer, 8);
    const std::vector<Byte> hostDataFirst(hostDataBytes, hostDataBytes + 8);
    const std::vector<Byte> none;
    // clang-format off
    const Row rows[] = {
        {"a size query", kAudioUnitProperty_HostCallbacks, false, 3, noErr, 32, none},
        {"a size query of a property the unit lacks", kAudioUnitProperty_TailTime, false, 3,
         kAudioUnitErr_InvalidProperty, 0, none},
        {"a caller's size of 0", kAudioUnitProperty_HostCallbacks, true, 0, kAudio_ParamError, 0, none},
        {"info refused: the size is left alone", kAudioUnitProperty_TailTime, true, 8,
         kAudioUnitErr_InvalidProperty, 8, none},
        {"a larger buffer: the real size", kAudioUnitProperty_HostCallbacks, true, 40, noErr, 32,
         hostDataFirst},
        {"a smaller buffer: the first bytes, the caller's size", kAudioUnitProperty_HostCallbacks,
         true, 8, noErr, 8, hostDataFirst},
        {"a failed fetch: size 0", kAudioUnitProperty_ContextName, true, 8,
         kAudioUnitErr_InvalidPropertyValue, 0, none},
        {"the question comes from the caller, the rest is zero", kDoubling, true, 4, noErr, 4,
         {42, 0, 0, 0}},
        {"an object never comes in half", kAudioUnitProperty_PresentPreset, true, 8,
         kAudio_ParamError, 8, none},
        {"neither does the class info", kAudioUnitProperty_ClassInfo, true, 4, kAudio_ParamError, 4, none},
        {"a parameter's info with a name", kAudioUnitProperty_ParameterInfo, true, 64,
         kAudio_ParamError, 64, none},
    };
    // clang-format on
    for (const Row& row : rows)
    {
        SCOPED_TRACE(row.name);
        HostFacingUnit unit;
        const HostCallbackInfo callbacks{&hostData, nullptr, nullptr, nullptr};
        unit.DispatchSetProperty(kAudioUnitProperty_HostCallbacks, G, 0, &callbacks, 32);
        std::vector<Byte> buffer(64, 0);
        buffer[0] = 21;
        UInt32 size = row.callerSize;
        const OSStatus answer = AUEntryCatch(
            [&] {
                return unit.GetPropertyForHost(row.id, G, 0, row.withData ? buffer.data() : nullptr,
                                               &size);
            });
        EXPECT_EQ(answer, row.expected);
        EXPECT_EQ(size, row.sizeAfter);
        if (!row.bytesAfter.empty())
            EXPECT_EQ(
                std::vector<Byte>(buffer.begin(), buffer.begin() + long(row.bytesAfter.size())),
                row.bytesAfter);
        EXPECT_EQ(CFGetRetainCount(unit.parameterName.get()), 1);
    }

    HostFacingUnit unit;
    unit.nameParameter = false;
    AudioUnitParameterInfo info{};
    UInt32 size = 8;
    EXPECT_EQ(unit.GetPropertyForHost(kAudioUnitProperty_ParameterInfo, G, 0, &info, nullptr),
              kAudio_ParamError);
    EXPECT_EQ(unit.GetPropertyForHost(kAudioUnitProperty_ParameterInfo, G, 0, &info, &size), noErr);
    EXPECT_EQ(size, 8u);
}

TEST(EntryCatch, TurnsWhateverIsThrownIntoAStatus)
{
    struct Row
    {
        const char* name;
        std::function<OSStatus()> body;
        OSStatus expected;
    };
    // clang-format off
    const Row rows[] = {
        {"a status", []() -> OSStatus { throw OSStatus(kAudioUnitErr_InvalidElement); }, -10877},
        {"a 16-bit status, sign-extended", []() -> OSStatus { throw OSErr(-50); }, -50},
        {"out of memory", []() -> OSStatus { throw std::bad_alloc(); }, memFullErr},
        {"a failed platform call", []() -> OSStatus { throw CAXException("AudioUnitRender", -10868); }, -10868},
        {"a failure of the layer's own", []() -> OSStatus { throw CAException(-4); }, -1},
        {"anything else", []() -> OSStatus { throw std::runtime_error("x"); }, -1},
        {"an answer", [] { return OSStatus(-10879); }, -10879},
    };
    // clang-format on
    for (const Row& row : rows)
        EXPECT_EQ(AUEntryCatch(row.body), row.expected) << row.name;
}

TEST(FastDispatch, HandsOutThreeFunctionsThatCheckTheirPointersAndReachTheUnit)
{
    TestUnit unit;
    unit.Globals().GetElement(0)->SetParameter(3, 0.25f);
    unit.DoInitialize();
    const auto fetch = [&](AudioUnitElement selector, void* function)
    {
        UInt32 size = 8;
        return unit.GetPropertyForHost(kAudioUnitProperty_FastDispatch, G, selector, function,
                                       &size);
    };
    AudioUnitGetParameterProc getParameter = nullptr;
    AudioUnitSetParameterProc setParameter = nullptr;
    AudioUnitRenderProc render = nullptr;
    ASSERT_EQ(fetch(kAudioUnitGetParameterSelect, &getParameter), noErr);
    ASSERT_EQ(fetch(kAudioUnitSetParameterSelect, &setParameter), noErr);
    ASSERT_EQ(fetch(kAudioUnitRenderSelect, &render), noErr);
    EXPECT_EQ(fetch(kAudioUnitResetSelect, &render), kAudioUnitErr_InvalidProperty);

    AUBase* self = &unit;
    Float32 value = 0.0f;
    EXPECT_EQ(getParameter(nullptr, 3, G, 0, &value), kAudio_ParamError);
    EXPECT_EQ(getParameter(self, 3, G, 0, nullptr), kAudio_ParamError);
    EXPECT_EQ(setParameter(nullptr, 3, G, 0, 0.5f, 0), kAudio_ParamError);
    EXPECT_EQ(setParameter(self, 3, G, 0, 0.5f, 0), noErr);
    EXPECT_EQ(getParameter(self, 3, G, 0, &value), noErr);
    EXPECT_EQ(value, 0.5f);
    EXPECT_EQ(getParameter(self, 3, G, 7, &value), kAudioUnitErr_InvalidElement);

    HostBuffers buffers(2, 16);
    AudioTimeStamp time{};
    EXPECT_EQ(render(self, nullptr, &time, 0, 16, nullptr), kAudio_ParamError);
    EXPECT_EQ(render(self, nullptr, nullptr, 0, 16, &buffers.list()), kAudio_ParamError);
    EXPECT_EQ(render(nullptr, nullptr, &time, 0, 16, &buffers.list()), kAudio_ParamError);
    EXPECT_EQ(unit.renderCalls, 0);
    EXPECT_EQ(render(self, nullptr, &time, 0, 16, &buffers.list()), noErr);
    EXPECT_EQ(unit.renderCalls, 1);

    unit.SetAPIVersion(1);
    EXPECT_EQ(fetch(kAudioUnitRenderSelect, &render), kAudioUnitErr_InvalidElement);
}
