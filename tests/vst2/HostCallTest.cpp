#include "tests/vst2/TestEffects.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

using namespace vst2test;

namespace
{
char gBlob[64];
char* const gText = gBlob;
auto* const gFiles = reinterpret_cast<VstAudioFile*>(gBlob);
auto* const gTask = reinterpret_cast<VstOfflineTask*>(gBlob);
auto* const gWindow = reinterpret_cast<VstWindow*>(gBlob);
auto* const gSelector = reinterpret_cast<VstFileSelect*>(gBlob);
constexpr intptr_t kAddress = 0x7F0012345678;
constexpr intptr_t kWide = intptr_t{1} << 40;

template <typename T> intptr_t asAnswer(T* pointer)
{
    return reinterpret_cast<intptr_t>(pointer);
}

struct Row
{
    const char* name;
    std::function<intptr_t(AudioEffectX&)> call;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
    intptr_t hostAnswer;
    intptr_t withHost;
    intptr_t withoutHost;
};

// clang-format off
const Row kRows[] = {
    {"setParameterAutomated", [](AudioEffectX& e) { e.setParameterAutomated(3, 0.25f); return intptr_t{0}; },
     0, 3, 0, nullptr, 0.25f, 9, 0, 0},
    {"getMasterVersion", [](AudioEffectX& e) { return intptr_t{e.getMasterVersion()}; },
     1, 0, 0, nullptr, 0, 2400, 2400, 1},
    {"getCurrentUniqueId", [](AudioEffectX& e) { return intptr_t{e.getCurrentUniqueId()}; },
     2, 0, 0, nullptr, 0, 77, 77, 0},
    {"masterIdle", [](AudioEffectX& e) { e.masterIdle(); return intptr_t{0}; },
     3, 0, 0, nullptr, 0, 1, 0, 0},
    {"isInputConnected", [](AudioEffectX& e) { return intptr_t{e.isInputConnected(2)}; },
     4, 2, 0, nullptr, 0, 0, 1, 1},
    {"isOutputConnected", [](AudioEffectX& e) { return intptr_t{e.isOutputConnected(1)}; },
     4, 1, 1, nullptr, 0, 1, 0, 1},
    {"wantEvents", [](AudioEffectX& e) { e.wantEvents(5); return intptr_t{0}; },
     6, 0, 5, nullptr, 0, 1, 0, 0},
    {"getTimeInfo", [](AudioEffectX& e) { return asAnswer(e.getTimeInfo(0xfe00)); },
     7, 0, 0xfe00, nullptr, 0, kAddress, kAddress, 0},
    {"tempoAt", [](AudioEffectX& e) { return intptr_t{e.tempoAt(12)}; },
     10, 0, 12, nullptr, 0, 1200000, 1200000, 0},
    {"getNumAutomatableParameters", [](AudioEffectX& e) { return intptr_t{e.getNumAutomatableParameters()}; },
     11, 0, 0, nullptr, 0, 8, 8, 0},
    {"getParameterQuantization", [](AudioEffectX& e) { return intptr_t{e.getParameterQuantization()}; },
     12, 0, 0, nullptr, 0, 100, 100, 0},
    {"ioChanged", [](AudioEffectX& e) { return intptr_t{e.ioChanged()}; },
     13, 0, 0, nullptr, 0, 1, 1, 0},
    {"needIdle", [](AudioEffectX& e) { return intptr_t{e.needIdle()}; },
     14, 0, 0, nullptr, 0, 1, 1, 0},
    {"sizeWindow", [](AudioEffectX& e) { return intptr_t{e.sizeWindow(443, 233)}; },
     15, 443, 233, nullptr, 0, 1, 1, 0},
    {"updateSampleRate", [](AudioEffectX& e) { return static_cast<intptr_t>(e.updateSampleRate()); },
     16, 0, 0, nullptr, 0, 48000, 48000, 44100},
    {"updateBlockSize", [](AudioEffectX& e) { return intptr_t{e.updateBlockSize()}; },
     17, 0, 0, nullptr, 0, 512, 512, 1024},
    {"getInputLatency", [](AudioEffectX& e) { return intptr_t{e.getInputLatency()}; },
     18, 0, 0, nullptr, 0, -3, -3, 0},
    {"getOutputLatency", [](AudioEffectX& e) { return intptr_t{e.getOutputLatency()}; },
     19, 0, 0, nullptr, 0, 64, 64, 0},
    {"getPreviousPlug", [](AudioEffectX& e) { return asAnswer(e.getPreviousPlug(5)); },
     20, 0, 0, nullptr, 0, kAddress, kAddress, 0},
    {"getNextPlug", [](AudioEffectX& e) { return asAnswer(e.getNextPlug(6)); },
     21, 0, 0, nullptr, 0, kAddress, kAddress, 0},
    {"willProcessReplacing", [](AudioEffectX& e) { return intptr_t{e.willProcessReplacing()}; },
     22, 0, 0, nullptr, 0, 2, 2, 0},
    {"getCurrentProcessLevel", [](AudioEffectX& e) { return intptr_t{e.getCurrentProcessLevel()}; },
     23, 0, 0, nullptr, 0, 4, 4, 0},
    {"getAutomationState", [](AudioEffectX& e) { return intptr_t{e.getAutomationState()}; },
     24, 0, 0, nullptr, 0, 3, 3, 0},
    {"offlineStart", [](AudioEffectX& e) { return intptr_t{e.offlineStart(gFiles, 3, 2)}; },
     25, 2, 3, gBlob, 0, 1, 1, 0},
    {"offlineRead, source", [](AudioEffectX& e) { return intptr_t{e.offlineRead(gTask, 7, true)}; },
     26, 1, 7, gBlob, 0, 1, 1, 0},
    {"offlineRead, not source", [](AudioEffectX& e) { return intptr_t{e.offlineRead(gTask, 7, false)}; },
     26, 0, 7, gBlob, 0, 1, 1, 0},
    {"offlineWrite", [](AudioEffectX& e) { return intptr_t{e.offlineWrite(gTask, 4)}; },
     27, 0, 4, gBlob, 0, 1, 1, 0},
    {"offlineGetCurrentPass", [](AudioEffectX& e) { return intptr_t{e.offlineGetCurrentPass()}; },
     28, 0, 0, nullptr, 0, 5, 1, 0},
    {"offlineGetCurrentMetaPass", [](AudioEffectX& e) { return intptr_t{e.offlineGetCurrentMetaPass()}; },
     29, 0, 0, nullptr, 0, 5, 1, 0},
    {"setOutputSamplerate", [](AudioEffectX& e) { e.setOutputSamplerate(96000.0f); return intptr_t{0}; },
     30, 0, 0, nullptr, 96000.0f, 1, 0, 0},
    {"getOutputSpeakerArrangement", [](AudioEffectX& e) { return asAnswer(e.getOutputSpeakerArrangement()); },
     31, 0, 0, nullptr, 0, kAddress, kAddress, 0},
    {"getHostVendorString", [](AudioEffectX& e) { return intptr_t{e.getHostVendorString(gText)}; },
     32, 0, 0, gBlob, 0, 1, 1, 0},
    {"getHostProductString", [](AudioEffectX& e) { return intptr_t{e.getHostProductString(gText)}; },
     33, 0, 0, gBlob, 0, 1, 1, 0},
    {"getHostVendorVersion", [](AudioEffectX& e) { return intptr_t{e.getHostVendorVersion()}; },
     34, 0, 0, nullptr, 0, 700, 700, 0},
    {"hostVendorSpecific", [](AudioEffectX& e) { return e.hostVendorSpecific(9, kWide, gText, 0.5f); },
     35, 9, kWide, gBlob, 0.5f, kWide + 1, kWide + 1, 0},
    {"canHostDo", [](AudioEffectX& e) { return intptr_t{e.canHostDo(gText)}; },
     37, 0, 0, gBlob, 0, 1, 1, 0},
    {"getHostLanguage", [](AudioEffectX& e) { return intptr_t{e.getHostLanguage()}; },
     38, 0, 0, nullptr, 0, 2, 2, 0},
    {"openWindow", [](AudioEffectX& e) { return asAnswer(e.openWindow(gWindow)); },
     39, 0, 0, gBlob, 0, kAddress, kAddress, 0},
    {"closeWindow", [](AudioEffectX& e) { return intptr_t{e.closeWindow(gWindow)}; },
     40, 0, 0, gBlob, 0, 1, 1, 0},
    {"getDirectory", [](AudioEffectX& e) { return asAnswer(e.getDirectory()); },
     41, 0, 0, nullptr, 0, kAddress, kAddress, 0},
    {"updateDisplay", [](AudioEffectX& e) { return intptr_t{e.updateDisplay()}; },
     42, 0, 0, nullptr, 0, 1, 1, 0},
    {"beginEdit", [](AudioEffectX& e) { return intptr_t{e.beginEdit(4)}; },
     43, 4, 0, nullptr, 0, 1, 1, 0},
    {"endEdit", [](AudioEffectX& e) { return intptr_t{e.endEdit(4)}; },
     44, 4, 0, nullptr, 0, 1, 1, 0},
    {"openFileSelector", [](AudioEffectX& e) { return intptr_t{e.openFileSelector(gSelector)}; },
     45, 0, 0, gBlob, 0, 1, 1, 0},
    {"closeFileSelector", [](AudioEffectX& e) { return intptr_t{e.closeFileSelector(gSelector)}; },
     46, 0, 0, gBlob, 0, 1, 1, 0},
    {"getChunkFile", [](AudioEffectX& e) { return intptr_t{e.getChunkFile(gBlob)}; },
     48, 0, 0, gBlob, 0, 1, 1, 0},
    {"getInputSpeakerArrangement", [](AudioEffectX& e) { return asAnswer(e.getInputSpeakerArrangement()); },
     49, 0, 0, nullptr, 0, kAddress, kAddress, 0},
};
// clang-format on
} // namespace

TEST(HostCalls, EachWrapperSendsItsOpcodeAndArguments)
{
    for (const auto& row : kRows)
    {
        SCOPED_TRACE(row.name);
        RecordingHost::reset(row.hostAnswer);
        PlainEffect effect(RecordingHost::callback);

        EXPECT_EQ(row.call(effect), row.withHost);
        ASSERT_EQ(RecordingHost::calls.size(), 1u);
        const auto& call = RecordingHost::calls[0];
        EXPECT_EQ(call.effect, effect.getAeffect());
        EXPECT_EQ(call.opcode, row.opcode);
        EXPECT_EQ(call.index, row.index);
        EXPECT_EQ(call.value, row.value);
        EXPECT_EQ(call.ptr, row.ptr);
        EXPECT_EQ(call.opt, row.opt);
    }
}

TEST(HostCalls, EachWrapperAnswersItsNeutralValueWithoutAHost)
{
    for (const auto& row : kRows)
    {
        SCOPED_TRACE(row.name);
        PlainEffect effect(nullptr);
        EXPECT_EQ(row.call(effect), row.withoutHost);
    }
}

TEST(HostCalls, YesNoCallsTakeAnyNonZeroAnswerAsYes)
{
    const std::function<bool(AudioEffectX&)> calls[] = {
        [](AudioEffectX& e) { return e.ioChanged(); },
        [](AudioEffectX& e) { return e.sizeWindow(1, 1); },
        [](AudioEffectX& e) { return e.updateDisplay(); },
        [](AudioEffectX& e) { return e.beginEdit(0); },
        [](AudioEffectX& e) { return e.openFileSelector(gSelector); },
        [](AudioEffectX& e) { return e.offlineGetCurrentPass() == 1; },
    };
    for (const intptr_t answer : {intptr_t{-1}, intptr_t{2}, kWide})
    {
        for (size_t i = 0; i < std::size(calls); ++i)
        {
            SCOPED_TRACE("call " + std::to_string(i) + " answer " + std::to_string(answer));
            RecordingHost::reset(answer);
            PlainEffect effect(RecordingHost::callback);
            EXPECT_TRUE(calls[i](effect));
        }
    }
}

TEST(HostCalls, CanHostDoTakesOnlyAPositiveAnswerAsYes)
{
    struct Row
    {
        intptr_t hostAnswer;
        int32_t expected;
    };
    const Row rows[] = {{1, 1}, {2, 1}, {kWide, 1}, {0, 0}, {-1, 0}, {-kWide, 0}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE("host answers " + std::to_string(row.hostAnswer));
        RecordingHost::reset(row.hostAnswer);
        PlainEffect effect(RecordingHost::callback);
        char text[] = "sizeWindow";
        EXPECT_EQ(effect.canHostDo(text), row.expected);
    }
}

TEST(HostCalls, NullPathsNeverReachTheHost)
{
    RecordingHost::reset(1);
    PlainEffect effect(RecordingHost::callback);
    EXPECT_FALSE(effect.openFileSelector(nullptr));
    EXPECT_FALSE(effect.closeFileSelector(nullptr));
    EXPECT_FALSE(effect.getChunkFile(nullptr));
    EXPECT_TRUE(RecordingHost::calls.empty());
}

TEST(HostCalls, UpdatesKeepOnlyPositiveRatesAndBlockSizes)
{
    struct Row
    {
        intptr_t hostAnswer;
        float sampleRate;
        int32_t blockSize;
    };
    const Row rows[] = {
        {48000, 48000.0f, 48000},
        {0, 44100.0f, 1024},
        {-1, 44100.0f, 1024},
        {intptr_t{1} << 32, 4294967296.0f, 1024}, // the block size reads the low 32 bits only
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE("host answers " + std::to_string(row.hostAnswer));
        RecordingHost::reset(row.hostAnswer);
        PlainEffect effect(RecordingHost::callback);

        EXPECT_EQ(effect.updateSampleRate(), static_cast<double>(row.sampleRate));
        EXPECT_EQ(effect.getSampleRate(), row.sampleRate);
        EXPECT_EQ(effect.updateBlockSize(), row.blockSize);
        EXPECT_EQ(effect.getBlockSize(), row.blockSize);
    }
}

TEST(HostCalls, ResumeAsksForMidiOnlyForSynthsAndMidiReceivers)
{
    class MidiEffect : public PlainEffect
    {
    public:
        using PlainEffect::PlainEffect;
        int32_t canDo(char* text) override
        {
            asked = text;
            return std::strcmp(text, "receiveVstMidiEvent") == 0 ? canReceive : 0;
        }
        int32_t canReceive = 0;
        std::string asked;
    };

    struct Row
    {
        bool synth;
        int32_t canReceive;
        bool asksForMidi;
    };
    const Row rows[] = {{false, 0, false}, {false, 1, true}, {false, -1, false},
                        {false, 2, false}, {true, 0, true},  {true, -1, true}};
    for (const auto& row : rows)
    {
        SCOPED_TRACE(std::string(row.synth ? "synth" : "effect") + " canDo " +
                     std::to_string(row.canReceive));
        RecordingHost::reset();
        MidiEffect effect(RecordingHost::callback);
        effect.isSynth(row.synth);
        effect.canReceive = row.canReceive;

        effect.dispatcher(effMainsChanged, 0, 1, nullptr, 0.0f);

        if (!row.synth)
            EXPECT_EQ(effect.asked, "receiveVstMidiEvent");
        if (row.asksForMidi)
        {
            ASSERT_EQ(RecordingHost::calls.size(), 1u);
            EXPECT_EQ(RecordingHost::calls[0].opcode, audioMasterWantMidi);
            EXPECT_EQ(RecordingHost::calls[0].value, 1);
        }
        else
        {
            EXPECT_TRUE(RecordingHost::calls.empty());
        }
    }
}
