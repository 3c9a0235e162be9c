// An instance of the AAX wrapper around a given processor, opened through the fake host as a host
// opens it: held by QueryInterface, initialised on an instance object that answers the session.
#pragma once

#include "tests/hosts/aax/EffectParametersEntries.h"
#include "tests/hosts/aax/FakeHost.h"
#include "tests/wrappers/CountingProcessor.h"
#include "wrappers/aax/AaxEntry.h"
#include "wrappers/aax/VeridaneAaxEffect.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace aaxtest
{
namespace effect = fakeaax::effect;
using Strings = std::vector<std::string>;

/** The host's logged calls to one object, in order. */
inline Strings callsTo(const fakeaax::FakeHost& host, const std::string& object)
{
    Strings matching;
    for (const auto& call : host.calls())
        if (call.starts_with(object))
            matching.push_back(call);
    return matching;
}

struct OpenAaxEffect
{
    explicit OpenAaxEffect(fakeaax::FakeHost& host, int32_t stemFormat = 0x00040004)
        : host(host),
          effect(new veridane::aax::VeridaneAaxEffect(std::make_unique<CountingProcessor>())),
          instance(host.newInstanceObject({48000.0f, stemFormat}))
    {
        EXPECT_EQ(fakeaax::queryInterface(static_cast<AAX_IACFEffectParameters_V2*>(effect),
                                          fakeaax::guid("EffectParametersV2"), &object),
                  0);
        host.linkEffectParameters(instance, object);
        initialized = effect::Initialize::call(object, instance);
        effect::ResetFieldData::call(object, veridane::aax::privateDataField, &privateData,
                                     sizeof privateData);
    }
    ~OpenAaxEffect()
    {
        effect::Uninitialize::call(object);
        fakeaax::release(object);
    }
    OpenAaxEffect(const OpenAaxEffect&) = delete;
    OpenAaxEffect& operator=(const OpenAaxEffect&) = delete;

    CountingProcessor& processor()
    {
        return static_cast<CountingProcessor&>(effect->getProcessor());
    }

    fakeaax::FakeHost& host;
    veridane::aax::VeridaneAaxEffect* effect;
    void* instance;
    void* object = nullptr;
    int32_t initialized = -1;
    uint64_t privateData = 0;
};
} // namespace aaxtest
