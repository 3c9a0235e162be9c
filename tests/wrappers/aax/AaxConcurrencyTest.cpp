// The audio callback runs while the host updates the gain and the bypass, asks for coefficients
// and saves the state, and the editor's side changes the gain with a host that answers at once;
// run under ThreadSanitizer by the tsan preset.
#include "tests/wrappers/aax/AaxWrapperSupport.h"

#include "tests/hosts/aax/HostChunk.h"

#include <cmath>
#include <cstring>
#include <thread>

using namespace aaxtest;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

TEST(AaxWrapperConcurrency, AudioWhileHostAndEditorChangeAndSave)
{
    fakeaax::FakeHost host;
    OpenAaxEffect open(host);
    host.answerSetValueRequestsAt(
        open.instance, [&](const char* identifier, double value)
        { effect::UpdateParameterNormalizedValue::call(open.object, identifier, value, 0); });
    std::atomic<bool> done{false};
    std::atomic<bool> allFinite{true};

    std::thread audio(
        [&]
        {
            constexpr int32_t frames = 512;
            std::vector<std::vector<float>> buffers(4, std::vector<float>(frames));
            float* channels[4] = {buffers[0].data(), buffers[1].data(), buffers[2].data(),
                                  buffers[3].data()};
            int32_t port = 0;
            veridane::aax::AlgorithmContext context{channels, channels, &frames,
                                                    &port,    nullptr,  &open.privateData};
            veridane::aax::AlgorithmContext* const contexts[] = {&context};
            while (!done.load())
            {
                // The host hands packets to the algorithm between callbacks.
                for (const auto& packet : host.takePackets(open.instance))
                    std::memcpy(&port, packet.bytes.data(), sizeof port);
                for (auto& channel : buffers)
                    std::fill(channel.begin(), channel.end(), 0.25f);
                veridane::aax::processContexts(std::begin(contexts), std::end(contexts));
                for (const auto& channel : buffers)
                    for (const float sample : channel)
                        allFinite = allFinite && std::isfinite(sample);
            }
        });
    std::thread editor(
        [&]
        {
            for (int i = 0; i < 500; ++i)
            {
                open.processor().beginParameterChangeGesture(0);
                open.processor().setParameterNotifyingHost(0, float(i % 100) / 100.0f);
                open.processor().endParameterChangeGesture(0);
            }
        });
    for (int i = 0; i < 500; ++i)
    {
        effect::UpdateParameterNormalizedValue::call(open.object, "0", (i % 10) / 10.0, 0);
        effect::UpdateParameterNormalizedValue::call(open.object, "MasterBypassID", i % 2, 0);
        effect::GenerateCoefficients::call(open.object);
        uint32_t size = 0;
        effect::GetChunkSize::call(open.object, 0x6A756365, &size);
        fakeaax::HostChunk chunk(size);
        EXPECT_EQ(effect::GetChunk::call(open.object, 0x6A756365, chunk.record()), 0);
    }
    editor.join();
    done = true;
    audio.join();
    EXPECT_TRUE(allFinite.load());
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
