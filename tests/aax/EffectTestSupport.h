// An effect as a wrapper builds it on the effect-parameters base, and an instance of it opened
// through the fake host: created, taken by QueryInterface and initialised by entry number, then
// uninitialised and released.
#pragma once

#include "hosts/aax/delegates/AAX_CBinaryDisplayDelegate.h"
#include "hosts/aax/delegates/AAX_CBinaryTaperDelegate.h"
#include "hosts/aax/delegates/AAX_CLinearTaperDelegate.h"
#include "hosts/aax/delegates/AAX_CNumberDisplayDelegate.h"
#include "hosts/aax/effect/AAX_CEffectParameters.h"
#include "hosts/aax/packets/AAX_CPacketHandler.h"
#include "hosts/aax/parameters/AAX_CParameter.h"
#include "tests/aax/AcfTestSupport.h"
#include "tests/hosts/aax/EffectParametersEntries.h"

#include <charconv>
#include <functional>
#include <mutex>

namespace effect = fakeaax::effect;

inline AAX_CParameter<float>* makeFloatParameter(const char* identifier, const char* name,
                                                 float defaultValue)
{
    return new AAX_CParameter<float>(identifier, name, defaultValue,
                                     AAX_CLinearTaperDelegate<float, 0>(0.0f, 1.0f),
                                     AAX_CNumberDisplayDelegate<float, 3u, 0u>(), true);
}

inline AAX_CParameter<bool>* makeBoolParameter(const char* identifier, const char* name)
{
    return new AAX_CParameter<bool>(identifier, name, false, AAX_CBinaryTaperDelegate<bool>(),
                                    AAX_CBinaryDisplayDelegate<bool>("bypass", "on"), true);
}

/** The shortest text that reads back as the same double. */
inline std::string numberText(double value)
{
    char text[64];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

/** "MasterBypassID" (bool, 2 steps, type 0, packet on field 3), then "0" (float "Gain",
    default 0.9, shortened "Gain"), then whatever `addMore` adds. Records the slots of its
    overrides that the base reaches. */
class TestEffect : public AAX_CEffectParameters
{
public:
    using Extra = std::function<void(AAX_CParameterManager&, AAX_CPacketDispatcher&)>;

    explicit TestEffect(Extra addMore = {}, AAX_Result initResult = AAX_SUCCESS)
        : mAddMore(std::move(addMore)), mInitResult(initResult)
    {
    }

    AAX_Result EffectInit() override
    {
        reach(51);
        auto* const bypass = makeBoolParameter(kAAX_MasterBypassID, "Master Bypass");
        bypass->SetNumberOfSteps(2);
        bypass->SetType(0);
        mParameterManager.AddParameter(bypass);
        mPacketDispatcher.RegisterPacket(
            kAAX_MasterBypassID, 3,
            AAX_CPacketHandler<AAX_CPacketDispatcher>(
                &mPacketDispatcher, &AAX_CPacketDispatcher::GenerateSingleValuePacket));
        auto* const gain = makeFloatParameter("0", "Gain", 0.9f);
        gain->AddShortenedName("Gain");
        mParameterManager.AddParameter(gain);
        if (mAddMore)
            mAddMore(mParameterManager, mPacketDispatcher);
        return mInitResult;
    }

    AAX_Result GetMasterBypassParameter(AAX_IString* identifier) const override
    {
        reach(7);
        return AAX_CEffectParameters::GetMasterBypassParameter(identifier);
    }
    AAX_Result GetParameter(AAX_CParamID identifier, AAX_IParameter** parameter) override
    {
        reach(16);
        return AAX_CEffectParameters::GetParameter(identifier, parameter);
    }
    AAX_Result GetParameterNormalizedValue(AAX_CParamID identifier, double* value) const override
    {
        reach(23);
        return AAX_CEffectParameters::GetParameterNormalizedValue(identifier, value);
    }
    AAX_Result SetParameterNormalizedValue(AAX_CParamID identifier, double value) override
    {
        reach(24);
        return AAX_CEffectParameters::SetParameterNormalizedValue(identifier, value);
    }
    AAX_Result UpdateParameterNormalizedValue(AAX_CParamID identifier, double value,
                                              int32_t source) override
    {
        reach(29);
        return AAX_CEffectParameters::UpdateParameterNormalizedValue(identifier, value, source);
    }

    /** The slots reached since the last call. */
    std::vector<int> takeReached()
    {
        std::lock_guard lock(mReachedLock);
        return std::exchange(mReached, {});
    }

    /** The parameter's normalized value, read from the parameter itself. */
    std::string valueOf(const char* identifier) const
    {
        const auto* const parameter = mParameterManager.GetParameterByID(identifier);
        return parameter != nullptr ? numberText(parameter->GetNormalizedValue()) : "absent";
    }

private:
    void reach(int slot) const
    {
        std::lock_guard lock(mReachedLock);
        mReached.push_back(slot);
    }

    Extra mAddMore;
    AAX_Result mInitResult;
    mutable std::mutex mReachedLock;
    mutable std::vector<int> mReached;
};

/** A TestEffect as the host holds it: one reference through QueryInterface, initialised on a
    new instance object of the host. The destructor uninitialises and releases it. */
class OpenEffect
{
public:
    explicit OpenEffect(fakeaax::FakeHost& host, TestEffect::Extra addMore = {})
        : effect(new TestEffect(std::move(addMore)))
    {
        void* const created = static_cast<AAX_IACFEffectParameters_V2*>(effect);
        EXPECT_EQ(fakeaax::queryInterface(created, fakeaax::guid("EffectParametersV2"), &object),
                  0);
        EXPECT_EQ(effect::Initialize::call(object, host.newInstanceObject()), 0);
        effect->takeReached();
    }
    ~OpenEffect()
    {
        effect::Uninitialize::call(object);
        fakeaax::release(object);
    }
    OpenEffect(const OpenEffect&) = delete;
    OpenEffect& operator=(const OpenEffect&) = delete;

    TestEffect* effect;
    void* object = nullptr;
};
