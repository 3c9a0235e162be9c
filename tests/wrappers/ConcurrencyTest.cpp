// Host threads set, read and save the parameter while the audio thread processes and the
// editor's side reports changes, and set the sample rate while the first block is processed;
// run under ThreadSanitizer by the tsan preset.
#include "tests/wrappers/WrapperTestSupport.h"

#include <atomic>
#include <string>
#include <thread>

using namespace wrappertest;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE("-Wdeprecated-declarations")

TEST(WrapperConcurrency, ParameterAndStateCallsWhileProcessing)
{
    Instance instance;
    instance.start();
    std::atomic<bool> done{false};
    std::atomic<bool> allFinite{true};

    std::thread audio(
        [&]
        {
            auto input = testSignal(512);
            Signal output(numChannels, std::vector<float>(512));
            float* in[numChannels];
            float* out[numChannels];
            for (int c = 0; c < numChannels; ++c)
            {
                in[c] = input[size_t(c)].data();
                out[c] = output[size_t(c)].data();
            }
            while (!done.load())
            {
                instance.process(in, out, 512);
                for (const auto& channel : output)
                    for (const float sample : channel)
                        if (!std::isfinite(sample))
                            allFinite = false;
            }
        });
    std::thread editor(
        [&]
        {
            for (int i = 0; i < 2000; ++i)
            {
                instance.processor().beginParameterChangeGesture(0);
                instance.processor().setParameterNotifyingHost(0, float(i % 100) / 100.0f);
                instance.processor().endParameterChangeGesture(0);
            }
        });

    const auto state = veridane::writeStateBlock(0.8f, 1);
    for (int i = 0; i < 2000; ++i)
    {
        instance.effect->setParameter(instance.effect, 0, float(i % 90) / 100.0f);
        (void)instance.effect->getParameter(instance.effect, 0);
        char text[9];
        instance.dispatch(effGetParamDisplay, 0, 0, text);
        std::string typed = "0.35";
        instance.dispatch(effString2Parameter, 0, 0, typed.data());
        (void)instance.chunk();
        instance.setChunk(state);
        instance.dispatch(effSetBypass, 0, i % 7 == 0);
    }
    editor.join();
    instance.effect->setParameter(instance.effect, 0, 0.6f);
    done = true;
    audio.join();

    EXPECT_TRUE(allFinite.load());
    EXPECT_EQ(instance.effect->getParameter(instance.effect, 0), 0.6f);
}

TEST(WrapperConcurrency, SampleRateChangesRaceTheFirstProcessCall)
{
    // A host that never resumes lets the first process call prepare the processor, reading the
    // sample rate that the host's other thread may be setting at that moment.
    constexpr float rates[] = {44100.0f, 48000.0f, 96000.0f};
    for (int round = 0; round < 20; ++round)
    {
        SCOPED_TRACE(round);
        Instance instance;
        auto input = testSignal(64);
        Signal output(numChannels, std::vector<float>(64));
        float* in[numChannels];
        float* out[numChannels];
        for (int c = 0; c < numChannels; ++c)
        {
            in[c] = input[size_t(c)].data();
            out[c] = output[size_t(c)].data();
        }

        std::atomic<bool> hostStarted{false};
        std::thread host(
            [&]
            {
                hostStarted = true;
                for (int i = 0; i < 300; ++i)
                    instance.dispatch(effSetSampleRate, 0, 0, nullptr, rates[i % 3]);
            });
        while (!hostStarted.load())
            std::this_thread::yield();
        instance.process(in, out, 64);
        host.join();

        const double prepared = instance.processor().getSampleRate();
        EXPECT_TRUE(prepared == 44100.0 || prepared == 48000.0 || prepared == 96000.0)
            << prepared;
    }
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
