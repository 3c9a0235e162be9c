// Host threads set, read and save the parameter while the audio thread processes and the
// editor's side reports changes; run under ThreadSanitizer by the tsan preset.
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

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
