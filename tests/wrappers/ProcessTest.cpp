#include "tests/wrappers/WrapperTestSupport.h"

#include <algorithm>
#include <climits>
#include <limits>

using namespace wrappertest;

namespace
{
enum class Layout
{
    inPlace,  // the outputs are the inputs
    separate, // outputs of their own
    crossed   // output c is the buffer of input c + 1
};

/** The plug-in's processBlock behind a plain juce::AudioProcessor, without the one-pass route:
    the wrapper has to copy the inputs into the outputs for it. */
class CopyRouteProcessor : public juce::AudioProcessor
{
public:
    CopyRouteProcessor()
        : juce::AudioProcessor(
              BusesProperties()
                  .withInput("Input", juce::AudioChannelSet::discreteChannels(numChannels), true)
                  .withOutput("Output", juce::AudioChannelSet::discreteChannels(numChannels), true))
    {
    }

    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override
    {
        inner.processBlock(buffer, midi);
    }
    void setStateInformation(const void* data, int size) override
    {
        inner.setStateInformation(data, size);
    }

    const juce::String getName() const override { return "Copy route"; }
    void prepareToPlay(double, int) override {}
    void releaseResources() override {}
    double getTailLengthSeconds() const override { return 0.0; }
    bool acceptsMidi() const override { return false; }
    bool producesMidi() const override { return false; }
    juce::AudioProcessorEditor* createEditor() override { return nullptr; }
    bool hasEditor() const override { return false; }
    int getNumPrograms() override { return 1; }
    int getCurrentProgram() override { return 0; }
    void setCurrentProgram(int) override {}
    const juce::String getProgramName(int) override { return {}; }
    void changeProgramName(int, const juce::String&) override {}
    void getStateInformation(juce::MemoryBlock&) override {}

private:
    LoomcraftAudioProcessor inner;
};

/** Runs input through the record block by block with the host's buffers laid out as asked and
    answers what the host finds in its outputs, in channel order. */
Signal render(Instance& instance, Signal inputs, const std::vector<int>& blocks, Layout layout)
{
    Signal outputs(numChannels, std::vector<float>(inputs[0].size()));
    int offset = 0;
    for (const int frames : blocks)
    {
        float* in[numChannels];
        float* out[numChannels];
        for (int c = 0; c < numChannels; ++c)
        {
            in[c] = inputs[size_t(c)].data() + offset;
            out[c] = layout == Layout::separate ? outputs[size_t(c)].data() + offset
                     : layout == Layout::inPlace
                         ? in[c]
                         : inputs[size_t((c + 1) % numChannels)].data() + offset;
        }
        instance.process(in, out, frames);
        offset += frames;
    }
    if (layout == Layout::crossed)
        std::rotate(inputs.begin(), inputs.begin() + 1, inputs.end());
    return layout == Layout::separate ? outputs : inputs;
}

/** A started instance whose state still glides, and the first frames of a run. */
struct StartedRun
{
    juce::MemoryBlock state = glidingState();
    Signal input = testSignal(1024);
    Instance instance;

    StartedRun()
    {
        instance.start();
        instance.setChunk(state);
    }

    ::testing::AssertionResult continuesLikeTheReference()
    {
        const auto blocks = partition(1024, 512);
        return sameSamples(referenceRender(input, blocks, state),
                           render(instance, input, blocks, Layout::separate));
    }
};
} // namespace

TEST(WrapperProcess, RendersLikeProcessBlockOnEveryBufferLayoutAndBlockLength)
{
    const struct
    {
        const char* name;
        Layout layout;
        int blockSize;
        int numFrames;
    } rows[] = {
        {"in place, 1", Layout::inPlace, 1, 700},
        {"in place, 512", Layout::inPlace, 512, 6144},
        {"in place, 10000", Layout::inPlace, 10000, 30000},
        {"separate, 1", Layout::separate, 1, 700},
        {"separate, 512", Layout::separate, 512, 6144},
        {"separate, 10000", Layout::separate, 10000, 30000},
        {"crossed, 1", Layout::crossed, 1, 700},
        {"crossed, 512", Layout::crossed, 512, 6144},
        {"crossed, 10000", Layout::crossed, 10000, 30000},
    };
    for (const bool onePass : {true, false})
        for (const auto& row : rows)
        {
            SCOPED_TRACE(std::string(row.name) + (onePass ? ", one pass" : ", copy first"));
            const auto input = testSignal(row.numFrames);
            const auto blocks = partition(row.numFrames, row.blockSize);
            const auto instance =
                onePass ? std::make_unique<Instance>()
                        : std::make_unique<Instance>(std::make_unique<CopyRouteProcessor>());
            instance->start(48000.0f, row.blockSize);
            instance->setChunk(glidingState());

            EXPECT_TRUE(sameSamples(referenceRender(input, blocks, glidingState()),
                                    render(*instance, input, blocks, row.layout)));
        }
}

TEST(WrapperProcess, MixedAndOverlappingBuffersRenderLikeProcessBlock)
{
    // One storage for inputs and outputs, so buffers can coincide or overlap. Inputs sit at
    // 0, 600, 1200 and 1800; each row says where outputs 0 to 3 start.
    const struct
    {
        const char* name;
        int outputAt[numChannels];
    } rows[] = {
        {"outputs 0 and 1 swap buffers, 2 and 3 separate", {600, 0, 3000, 3600}},
        {"output 2 is input 3, 0 and 1 in place, 3 separate", {0, 600, 1800, 4200}},
        {"output 0 overlaps input 1 at an offset", {700, 3000, 3600, 4200}},
    };
    const auto input = testSignal(512);
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        std::vector<float> storage(5000, 0.0f);
        float* in[numChannels];
        float* out[numChannels];
        for (int c = 0; c < numChannels; ++c)
        {
            in[c] = storage.data() + 600 * c;
            std::copy(input[size_t(c)].begin(), input[size_t(c)].end(), in[c]);
            out[c] = storage.data() + row.outputAt[c];
        }
        Instance instance;
        instance.start();
        instance.setChunk(glidingState());
        instance.process(in, out, 512);

        Signal heard(numChannels);
        for (int c = 0; c < numChannels; ++c)
            heard[size_t(c)].assign(out[c], out[c] + 512);
        EXPECT_TRUE(sameSamples(referenceRender(input, {512}, glidingState()), heard));
    }
}

TEST(WrapperProcess, BypassPassesInputThroughOnEveryLayout)
{
    for (const auto layout : {Layout::inPlace, Layout::separate, Layout::crossed})
    {
        SCOPED_TRACE(int(layout));
        StartedRun run;
        EXPECT_EQ(run.instance.dispatch(effSetBypass, 0, 1), 1);
        EXPECT_TRUE(sameSamples(run.input, render(run.instance, run.input, {512, 512}, layout)));
    }
}

TEST(WrapperProcess, PreparesOnResumeOrOnceOnAFirstProcessWithoutOne)
{
    auto input = testSignal(64);
    float* channels[numChannels];
    for (int c = 0; c < numChannels; ++c)
        channels[c] = input[size_t(c)].data();

    for (const bool hostResumes : {true, false})
    {
        SCOPED_TRACE(hostResumes ? "host resumes" : "host never resumes");
        RecordingHost::reset();
        Instance instance;
        if (hostResumes)
            instance.start(96000.0f, 256);
        instance.process(channels, channels, 64);
        instance.process(channels, channels, 64);

        EXPECT_EQ(instance.processor().getSampleRate(), hostResumes ? 96000.0 : 44100.0);
        EXPECT_EQ(instance.processor().getBlockSize(), hostResumes ? 256 : 1024);
        EXPECT_EQ(instance.processor().getTotalNumInputChannels(), 4);
        // Each resume chains to the base, which asks an effect that takes MIDI to get it.
        EXPECT_EQ(RecordingHost::callsWith(audioMasterWantMidi).size(), 1u);
    }
}

//==================================================================================================
// Hostile process calls: no crash, and a call that cannot be served changes nothing, so the run
// goes on like a reference that never saw it.

TEST(WrapperHostileProcess, NegativeFramesOrNoOutputArrayDoNothing)
{
    StartedRun run;
    Signal out(numChannels, std::vector<float>(16, -7.0f));
    float* in[numChannels];
    float* outputs[numChannels];
    for (int c = 0; c < numChannels; ++c)
    {
        in[c] = run.input[size_t(c)].data();
        outputs[c] = out[size_t(c)].data();
    }

    for (const int32_t frames : {-1, -512, INT32_MIN})
        run.instance.process(in, outputs, frames);
    run.instance.process(in, nullptr, 512);
    run.instance.process(nullptr, nullptr, 512);

    EXPECT_TRUE(sameSamples(Signal(numChannels, std::vector<float>(16, -7.0f)), out));
    EXPECT_TRUE(run.continuesLikeTheReference());
}

TEST(WrapperHostileProcess, MissingInputsReadAsSilenceAndMissingOutputsAreSkipped)
{
    const struct
    {
        const char* name;
        int missingInput; // -2 none, -1 the whole array
        int missingOutput;
    } rows[] = {
        {"no input array", -1, -2},
        {"input 0 missing", 0, -2},
        {"input 2 missing", 2, -2},
        {"output 1 missing", -2, 1},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.name);
        StartedRun run;
        Signal out(numChannels, std::vector<float>(512));
        float* in[numChannels];
        float* outputs[numChannels];
        for (int c = 0; c < numChannels; ++c)
        {
            in[c] = c == row.missingInput ? nullptr : run.input[size_t(c)].data();
            outputs[c] = c == row.missingOutput ? nullptr : out[size_t(c)].data();
        }
        run.instance.process(row.missingInput == -1 ? nullptr : in, outputs, 512);

        auto heard = run.input;
        for (int c = 0; c < numChannels; ++c)
            if (row.missingInput == -1 || c == row.missingInput)
                std::fill(heard[size_t(c)].begin(), heard[size_t(c)].end(), 0.0f);
        auto expected = referenceRender(heard, {512}, run.state);
        if (row.missingOutput >= 0)
            expected[size_t(row.missingOutput)].assign(512, 0.0f);
        for (auto& channel : expected)
            channel.resize(512);
        EXPECT_TRUE(sameSamples(expected, out));
    }
}

TEST(WrapperHostileProcess, UnusableBlockSizesAndRatesAreIgnored)
{
    // The last two become 256 when cut to 32 bits.
    const intptr_t sizes[] = {
        0, -1, INT32_MIN, intptr_t{1} << 40, (intptr_t{1} << 32) + 256, -(intptr_t{1} << 32) + 256};
    const float rates[] = {0.0f, -48000.0f, std::numeric_limits<float>::quiet_NaN(),
                           std::numeric_limits<float>::infinity()};
    for (size_t i = 0; i < std::size(sizes); ++i)
    {
        SCOPED_TRACE(i);
        StartedRun run;
        run.instance.dispatch(effSetBlockSize, 0, sizes[i]);
        run.instance.dispatch(effSetSampleRate, 0, 0, nullptr, rates[i % std::size(rates)]);
        run.instance.dispatch(effMainsChanged, 0, 1);

        EXPECT_EQ(run.instance.processor().getBlockSize(), 512);
        EXPECT_EQ(run.instance.processor().getSampleRate(), 48000.0);
        EXPECT_TRUE(run.continuesLikeTheReference());
    }
}

TEST(WrapperHostileProcess, HugeBlockSizeIsAcceptedAndLongBlocksRunInPieces)
{
    const auto input = testSignal(30000);
    Instance instance;
    instance.start(48000.0f, INT32_MAX);
    instance.setChunk(glidingState());

    EXPECT_EQ(instance.processor().getBlockSize(), INT32_MAX);
    EXPECT_TRUE(sameSamples(referenceRender(input, {30000}, glidingState()),
                            render(instance, input, {30000}, Layout::crossed)));
}

TEST(WrapperProcess, SameBuffersWithALongerBlockAreCheckedAfresh)
{
    // Output c starts 100 samples into input c: apart for a 64-frame block, overlapping for a
    // 512-frame one, so the route the first block took must not be reused for the second.
    const auto input = testSignal(576);
    std::vector<float> storage(5000, 0.0f);
    float* in[numChannels];
    float* out[numChannels];
    for (int c = 0; c < numChannels; ++c)
    {
        in[c] = storage.data() + 1200 * c;
        out[c] = in[c] + 100;
    }
    Instance instance;
    instance.start();
    instance.setChunk(glidingState());

    Signal heard(numChannels);
    int done = 0;
    for (const int frames : {64, 512})
    {
        for (int c = 0; c < numChannels; ++c)
            std::copy_n(input[size_t(c)].begin() + done, frames, in[c]);
        instance.process(in, out, frames);
        for (int c = 0; c < numChannels; ++c)
            heard[size_t(c)].insert(heard[size_t(c)].end(), out[c], out[c] + frames);
        done += frames;
    }
    EXPECT_TRUE(sameSamples(referenceRender(input, {64, 512}, glidingState()), heard));
}
