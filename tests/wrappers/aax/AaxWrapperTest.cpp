// The AAX wrapper in-process, through the fake host: changes crossing between the processor and
// the host, hostile calls and contexts.
#include "tests/wrappers/aax/AaxWrapperSupport.h"

#include "processor/StateBlock.h"
#include "tests/hosts/aax/HostChunk.h"

#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <limits>

using namespace aaxtest;
using fakeaax::FakeHost;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

namespace
{
constexpr uint32_t kStateChunkID = 0x6A756365; // 'juce'

TEST(AaxWrapper, ChangesCrossBetweenProcessorAndHostOnce)
{
    const auto processorGesture = [](OpenAaxEffect& open)
    {
        open.processor().beginParameterChangeGesture(0);
        open.processor().setParameterNotifyingHost(0, 0.25f);
        open.processor().endParameterChangeGesture(0);
    };
    const auto hostUpdate = [](OpenAaxEffect& open)
    { effect::UpdateParameterNormalizedValue::call(open.object, "0", 0.25, 0); };
    const std::string touch = "automation1.7(\"0\")", release = "automation1.8(\"0\")";
    const std::string request = "automation1.5(\"0\", 0.25)",
                      current = "automation1.6(\"0\", 0.25)";
    struct Row
    {
        const char* name;
        bool synchronous;
        std::function<void(OpenAaxEffect&)> change;
        Strings automation;
    };
    // The gesture's touch encloses the request's own; the host's answer comes inside the request
    // or after the gesture, and never goes back as a request.
    const Row rows[] = {
        {"processor gesture, queued host",
         false,
         processorGesture,
         {touch, touch, request, release, release, current}},
        {"processor gesture, synchronous host",
         true,
         processorGesture,
         {touch, touch, request, current, release, release}},
        {"host update, queued host", false, hostUpdate, {current}},
        {"host update, synchronous host", true, hostUpdate, {current}},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeHost host;
        OpenAaxEffect open(host);
        if (row.synchronous)
            host.answerSetValueRequestsAt(open.instance,
                                          [&](const char* identifier, double value) {
                                              effect::UpdateParameterNormalizedValue::call(
                                                  open.object, identifier, value, 0);
                                          });
        open.processor().timesSet = 0;
        host.clearLog();

        row.change(open);
        for (const auto& [identifier, value] : host.takeSetValueRequests())
            effect::UpdateParameterNormalizedValue::call(open.object, identifier.c_str(), value, 0);

        EXPECT_EQ(callsTo(host, "automation"), row.automation);
        EXPECT_EQ(open.processor().timesSet.load(), 1);
        EXPECT_EQ(open.processor().gainValue.load(), 0.25f);
        double hostValue = 0.0;
        effect::GetParameterNormalizedValue::call(open.object, "0", &hostValue);
        EXPECT_EQ(hostValue, 0.25);
    }
}

TEST(AaxWrapper, HostileCallsAnswerErrorsAndKeepTheState)
{
    const auto chunkOf = [](std::vector<uint8_t> data, int32_t size)
    {
        fakeaax::HostChunk chunk(data);
        std::memcpy(chunk.record(), &size, sizeof size);
        return chunk;
    };
    struct Row
    {
        const char* name;
        std::function<int32_t(OpenAaxEffect&)> call;
        int32_t answer;
    };
    const Row rows[] = {
        {"'juce' chunk without its size first",
         [](OpenAaxEffect& o)
         {
             fakeaax::HostChunk chunk(200);
             return effect::GetChunk::call(o.object, kStateChunkID, chunk.record());
         },
         fakeaax::kIncorrectChunkSize},
        {"'juce' chunk size into null",
         [](OpenAaxEffect& o)
         { return effect::GetChunkSize::call(o.object, kStateChunkID, nullptr); },
         fakeaax::kNullObject},
        {"'juce' chunk of negative size",
         [&](OpenAaxEffect& o)
         {
             auto chunk = chunkOf({'<', 'R', '>'}, -3);
             return effect::SetChunk::call(o.object, kStateChunkID, chunk.record());
         },
         0},
        {"'juce' chunk that is no state block",
         [&](OpenAaxEffect& o)
         {
             auto chunk = chunkOf({0x56, 0x43, 0x32, 0x21, 0xFF, 0xFF, 0xFF, 0x7F}, 8);
             return effect::SetChunk::call(o.object, kStateChunkID, chunk.record());
         },
         0},
        {"private data too small for the instance",
         [](OpenAaxEffect& o)
         {
             uint64_t data = ~uint64_t{0};
             int32_t answers = 0;
             for (uint32_t size = 1; size < sizeof data; ++size)
                 answers |= effect::ResetFieldData::call(o.object, veridane::aax::privateDataField,
                                                         &data, size);
             return data == ~uint64_t{0} ? answers : -1;
         },
         fakeaax::kIncorrectChunkSize},
        {"null interface identifier",
         [](OpenAaxEffect& o)
         {
             void* out = &o;
             const int32_t answer = fakeaax::queryInterface(o.object, nullptr, &out);
             return out == nullptr ? answer : -1;
         },
         fakeaax::kNoInterface},
        {"initialized again with the master bypass on",
         [](OpenAaxEffect& o)
         {
             effect::UpdateParameterNormalizedValue::call(o.object, "MasterBypassID", 1.0, 0);
             effect::GenerateCoefficients::call(o.object);
             const int32_t answer = effect::Initialize::call(o.object, o.instance);
             effect::GenerateCoefficients::call(o.object);
             const Strings bypassOnTwice{"3: 01 00 00 00", "3: 01 00 00 00"};
             return o.host.postedPackets() == bypassOnTwice ? answer : -1;
         },
         0},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        FakeHost host;
        OpenAaxEffect open(host);
        EXPECT_EQ(row.call(open), row.answer);
        juce::MemoryBlock state;
        open.processor().getStateInformation(state);
        EXPECT_EQ(state, veridane::writeStateBlock(0.9f, 0));
    }

    FakeHost host;
    OpenAaxEffect stereo(host, 0x00010002);
    EXPECT_EQ(stereo.initialized, fakeaax::kUnimplemented);
}

TEST(AaxWrapper, ProcessProcedureRunsOnlyCompleteContexts)
{
    FakeHost host;
    OpenAaxEffect open(host);
    constexpr int32_t frames = 64;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<std::vector<float>> in(4, std::vector<float>(frames, 0.5f));
    std::vector<std::vector<float>> out(4 * 5, std::vector<float>(frames, nan));
    float* inputs[4] = {in[0].data(), in[1].data(), in[2].data(), in[3].data()};
    std::vector<std::array<float*, 4>> outputs(5);
    for (size_t c = 0; c < 5; ++c)
        for (size_t i = 0; i < 4; ++i)
            outputs[c][i] = out[c * 4 + i].data();
    const int32_t on = 1, off = 0;
    const uint64_t none = 0;
    using veridane::aax::AlgorithmContext;
    AlgorithmContext contexts[] = {
        {inputs, outputs[0].data(), &frames, &off, nullptr, &open.privateData},
        {inputs, outputs[1].data(), &frames, &on, nullptr, &open.privateData},
        {inputs, outputs[2].data(), &frames, &off, nullptr, nullptr},
        {inputs, outputs[3].data(), &frames, &off, nullptr, &none},
        {inputs, outputs[4].data(), nullptr, &off, nullptr, &open.privateData},
    };
    AlgorithmContext* pointers[] = {&contexts[0], &contexts[1], nullptr,
                                    &contexts[2], &contexts[3], &contexts[4]};
    veridane::aax::processContexts(nullptr, nullptr);
    veridane::aax::processContexts(std::begin(pointers), std::end(pointers));

    // FuMa to ambiX at 0 dB: W rises by the square root of 2 at once; bypassed passes the input.
    EXPECT_FLOAT_EQ(out[0][0], 0.5f * std::sqrt(2.0f));
    EXPECT_EQ(out[4], in[0]);
    for (size_t i = 2 * 4; i < out.size(); ++i)
        EXPECT_TRUE(std::isnan(out[i][0])) << "output " << i;
}
} // namespace

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
