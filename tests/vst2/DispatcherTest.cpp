#include "tests/vst2/TestEffects.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>

using namespace vst2test;

namespace
{
char gText[64];
VstSpeakerArrangement* gInput = reinterpret_cast<VstSpeakerArrangement*>(0x1000);
VstSpeakerArrangement* gOutput = reinterpret_cast<VstSpeakerArrangement*>(0x2000);
VstSpeakerArrangement** gInputOut = reinterpret_cast<VstSpeakerArrangement**>(0x3000);
VstSpeakerArrangement** gOutputOut = reinterpret_cast<VstSpeakerArrangement**>(0x4000);
constexpr intptr_t kWide = intptr_t{1} << 33;

struct Call
{
    std::string name;
    intptr_t a = 0;
    intptr_t b = 0;
    const void* p = nullptr;
    const void* q = nullptr;
    float f = 0.0f;

    bool operator==(const Call&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Call& call)
{
    return out << call.name << "(" << call.a << ", " << call.b << ", " << call.p << ", " << call.q
               << ", " << call.f << ")";
}

/** Records which operation the dispatcher chose and with which arguments, and answers a set
    value in the operation's own type. */
class RecordingEffect : public PlainEffect
{
public:
    std::vector<Call> calls;
    intptr_t answer = 0;

    void setProgram(int32_t program) override { note({"setProgram", program}); }
    void suspend() override { note({"suspend"}); }
    void resume() override { note({"resume"}); }
    void setSampleRate(float rate) override { note({"setSampleRate", 0, 0, {}, {}, rate}); }
    void setBlockSize(int32_t size) override { note({"setBlockSize", size}); }
    void setProgramName(char* name) override { note({"setProgramName", 0, 0, name}); }
    void getProgramName(char* name) override { note({"getProgramName", 0, 0, name}); }
    void getParameterLabel(int32_t i, char* t) override { note({"getParameterLabel", i, 0, t}); }
    void getParameterDisplay(int32_t i, char* t) override
    {
        note({"getParameterDisplay", i, 0, t});
    }
    void getParameterName(int32_t i, char* t) override { note({"getParameterName", i, 0, t}); }
    int32_t getChunk(void** data, bool isPreset) override
    {
        return int32Answer({"getChunk", isPreset, 0, data});
    }
    int32_t setChunk(void* data, int32_t size, bool isPreset) override
    {
        return int32Answer({"setChunk", isPreset, size, data});
    }
    bool string2parameter(int32_t i, char* t) override
    {
        return boolAnswer({"string2parameter", i, 0, t});
    }
    bool getProgramNameIndexed(int32_t category, int32_t i, char* t) override
    {
        return boolAnswer({"getProgramNameIndexed", category, i, t});
    }
    bool offlineNotify(VstAudioFile* files, int32_t count, bool start) override
    {
        return boolAnswer({"offlineNotify", count, start, files});
    }
    bool setSpeakerArrangement(VstSpeakerArrangement* in, VstSpeakerArrangement* out) override
    {
        return boolAnswer({"setSpeakerArrangement", 0, 0, in, out});
    }
    bool getSpeakerArrangement(VstSpeakerArrangement** in, VstSpeakerArrangement** out) override
    {
        return boolAnswer({"getSpeakerArrangement", 0, 0, in, out});
    }
    bool setBypass(bool onOff) override { return boolAnswer({"setBypass", onOff}); }
    bool getEffectName(char* t) override { return boolAnswer({"getEffectName", 0, 0, t}); }
    bool getVendorString(char* t) override { return boolAnswer({"getVendorString", 0, 0, t}); }
    bool getProductString(char* t) override { return boolAnswer({"getProductString", 0, 0, t}); }
    int32_t getVendorVersion() override { return int32Answer({"getVendorVersion"}); }
    intptr_t vendorSpecific(int32_t i, intptr_t v, void* p, float f) override
    {
        note({"vendorSpecific", i, v, p, {}, f});
        return answer;
    }
    int32_t canDo(char* t) override { return int32Answer({"canDo", 0, 0, t}); }
    VstPlugCategory getPlugCategory() override
    {
        return static_cast<VstPlugCategory>(int32Answer({"getPlugCategory"}));
    }
    int32_t getNextShellPlugin(char* t) override
    {
        return int32Answer({"getNextShellPlugin", 0, 0, t});
    }
    bool setPanLaw(int32_t type, float value) override
    {
        return boolAnswer({"setPanLaw", type, 0, {}, {}, value});
    }
    bool setProcessPrecision(int32_t precision) override
    {
        return boolAnswer({"setProcessPrecision", precision});
    }

private:
    void note(const Call& call) { calls.push_back(call); }
    bool boolAnswer(const Call& call)
    {
        note(call);
        return answer != 0;
    }
    int32_t int32Answer(const Call& call)
    {
        note(call);
        return static_cast<int32_t>(answer);
    }
};

intptr_t dispatch(AudioEffect& effect, int32_t opcode, int32_t index = 0, intptr_t value = 0,
                  void* ptr = nullptr, float opt = 0.0f)
{
    return effect.dispatcher(opcode, index, value, ptr, opt);
}
} // namespace

TEST(Dispatcher, PlainEffectAnswersEveryOpcodeWithItsDefault)
{
    const std::map<int32_t, intptr_t> nonZero = {
        {effIdentify, 0x4E764566},
        {effCanBeAutomated, 1},
        {effGetVstVersion, 2400},
        {effGetCurrentMidiProgram, -1},
    };
    for (int32_t opcode = 0; opcode <= effGetNumMidiOutputChannels; ++opcode)
    {
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        PlainEffect effect;
        char buffer[256] = {};
        const auto it = nonZero.find(opcode);
        EXPECT_EQ(dispatch(effect, opcode, 0, 0, buffer), it != nonZero.end() ? it->second : 0);
    }
}

TEST(Dispatcher, OpcodesOutsideTheTablesAnswerZero)
{
    for (const int32_t opcode : {80, 81, 1000, -1, INT32_MIN, INT32_MAX})
    {
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        RecordingEffect effect;
        effect.answer = 1;
        EXPECT_EQ(dispatch(effect, opcode, 1, 1, gText, 1.0f), 0);
        EXPECT_TRUE(effect.calls.empty());
    }
}

TEST(Dispatcher, RoutesArgumentsAndWidensAnswers)
{
    struct Row
    {
        const char* label;
        int32_t opcode;
        int32_t index;
        intptr_t value;
        void* ptr;
        float opt;
        intptr_t answerToGive;
        Call expectedCall;
        intptr_t expectedAnswer;
    };
    void* const text = gText;
    const auto in = reinterpret_cast<intptr_t>(gInput);
    const auto inOut = reinterpret_cast<intptr_t>(gInputOut);
    // clang-format off
    const Row rows[] = {
        // label, opcode, index, value, ptr, opt, answer to give, expected call, expected answer
        {"program in range", effSetProgram, 0, 1, nullptr, 0, 0, {"setProgram", 1}, 0},
        {"sample rate from opt", effSetSampleRate, 0, 0, nullptr, 48000.0f, 0,
         {"setSampleRate", 0, 0, {}, {}, 48000.0f}, 0},
        {"block size from value", effSetBlockSize, 0, 512, nullptr, 0, 0, {"setBlockSize", 512}, 0},
        {"mains off suspends", effMainsChanged, 0, 0, nullptr, 0, 0, {"suspend"}, 0},
        {"mains on resumes", effMainsChanged, 0, 1, nullptr, 0, 0, {"resume"}, 0},
        {"any non-zero mains resumes", effMainsChanged, 0, 7, nullptr, 0, 0, {"resume"}, 0},
        {"program name", effGetProgramName, 0, 0, text, 0, 0, {"getProgramName", 0, 0, text}, 0},
        {"parameter label", effGetParamLabel, 4, 0, text, 0, 0, {"getParameterLabel", 4, 0, text}, 0},
        {"parameter display", effGetParamDisplay, 5, 0, text, 0, 0, {"getParameterDisplay", 5, 0, text}, 0},
        {"parameter name", effGetParamName, 6, 0, text, 0, 0, {"getParameterName", 6, 0, text}, 0},
        {"chunk, preset", effGetChunk, 1, 0, text, 0, -5, {"getChunk", 1, 0, text}, -5},
        {"set chunk, bank", effSetChunk, 0, 100, text, 0, 100, {"setChunk", 0, 100, text}, 100},
        {"string to parameter", effString2Parameter, 2, 0, text, 0, 1, {"string2parameter", 2, 0, text}, 1},
        {"indexed name takes the category from value", effGetProgramNameIndexed, 7, 3, text, 0, 1,
         {"getProgramNameIndexed", 3, 7, text}, 1},
        {"offline notify", effOfflineNotify, 1, 4, text, 0, 1, {"offlineNotify", 4, 1, text}, 1},
        {"set arrangement: input from value", effSetSpeakerArrangement, 0, in, gOutput, 0, 1,
         {"setSpeakerArrangement", 0, 0, gInput, gOutput}, 1},
        {"get arrangement: input from value", effGetSpeakerArrangement, 0, inOut, gOutputOut, 0, 1,
         {"getSpeakerArrangement", 0, 0, gInputOut, gOutputOut}, 1},
        {"bypass from any non-zero value", effSetBypass, 0, 2, nullptr, 0, 1, {"setBypass", 1}, 1},
        {"bool answer is 1", effGetEffectName, 0, 0, text, 0, 5, {"getEffectName", 0, 0, text}, 1},
        {"vendor string", effGetVendorString, 0, 0, text, 0, 1, {"getVendorString", 0, 0, text}, 1},
        {"product string", effGetProductString, 0, 0, text, 0, 0, {"getProductString", 0, 0, text}, 0},
        {"vendor version sign-extends", effGetVendorVersion, 0, 0, nullptr, 0, -2, {"getVendorVersion"}, -2},
        {"vendor specific passes everything whole", effVendorSpecific, 9, kWide, text, 0.5f, kWide << 4,
         {"vendorSpecific", 9, kWide, text, {}, 0.5f}, kWide << 4},
        {"can-do sign-extends", effCanDo, 0, 0, text, 0, -1, {"canDo", 0, 0, text}, -1},
        {"category zero-extends", effGetPlugCategory, 0, 0, nullptr, 0, -1, {"getPlugCategory"},
         intptr_t{0xFFFFFFFF}},
        {"shell plug-in", effShellGetNextPlugin, 0, 0, text, 0, 0x50625664,
         {"getNextShellPlugin", 0, 0, text}, 0x50625664},
        {"pan law", effSetPanLaw, 0, 1, nullptr, 0.5f, 1, {"setPanLaw", 1, 0, {}, {}, 0.5f}, 1},
        {"process precision", effSetProcessPrecision, 0, 1, nullptr, 0, 0, {"setProcessPrecision", 1}, 0},
    };
    // clang-format on
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.label);
        RecordingEffect effect;
        effect.answer = row.answerToGive;
        EXPECT_EQ(dispatch(effect, row.opcode, row.index, row.value, row.ptr, row.opt),
                  row.expectedAnswer);
        ASSERT_EQ(effect.calls.size(), 1u);
        EXPECT_EQ(effect.calls[0], row.expectedCall);
    }
}

TEST(Dispatcher, SetProgramIgnoresNumbersOutsideTheProgramList)
{
    for (const intptr_t program : {intptr_t{2}, intptr_t{-1}, intptr_t{INT32_MIN}, kWide})
    {
        SCOPED_TRACE("program " + std::to_string(program));
        PlainEffect effect(nullptr, 2, 0);
        EXPECT_EQ(dispatch(effect, effSetProgram, 0, program), 0);
        EXPECT_EQ(effect.getProgram(), 0);
    }
}

TEST(Dispatcher, TextAndChunkOpcodesRefuseANullBuffer)
{
    for (const int32_t opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
          effGetParamName, effGetChunk, effSetChunk, effString2Parameter, effGetProgramNameIndexed,
          effGetEffectName, effGetVendorString, effGetProductString, effCanDo,
          effShellGetNextPlugin})
    {
        SCOPED_TRACE("opcode " + std::to_string(opcode));
        RecordingEffect effect;
        effect.answer = 1;
        EXPECT_EQ(dispatch(effect, opcode, 0, 8, nullptr), 0);
        EXPECT_TRUE(effect.calls.empty());
    }
}

TEST(Dispatcher, DefaultGetSpeakerArrangementStoresNullWhereItCan)
{
    PlainEffect effect;
    auto* const marker = reinterpret_cast<VstSpeakerArrangement*>(gText);
    VstSpeakerArrangement* input = marker;
    VstSpeakerArrangement* output = marker;

    EXPECT_EQ(
        dispatch(effect, effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), &output),
        0);
    EXPECT_EQ(input, nullptr);
    EXPECT_EQ(output, nullptr);

    output = marker;
    EXPECT_EQ(dispatch(effect, effGetSpeakerArrangement, 0, 0, &output), 0);
    EXPECT_EQ(output, nullptr);
    input = marker;
    EXPECT_EQ(
        dispatch(effect, effGetSpeakerArrangement, 0, reinterpret_cast<intptr_t>(&input), nullptr),
        0);
    EXPECT_EQ(input, nullptr);
}

TEST(Dispatcher, EditorOpcodesReachTheAttachedEditor)
{
    struct Row
    {
        int32_t opcode;
        intptr_t value;
        const char* call;
        bool answers;
    };
    const Row rows[] = {
        {effEditGetRect, 0, "getRect", true},
        {effEditOpen, 0, "open", true},
        {effEditClose, 0, "close", false},
        {effEditIdle, 0, "idle", false},
        {effSetEditKnobMode, 2, "setKnobMode", true},
    };
    for (const auto& row : rows)
    {
        for (const bool editorAnswer : {false, true})
        {
            SCOPED_TRACE(std::string(row.call) + (editorAnswer ? " yes" : " no"));
            PlainEffect effect;
            auto* editor = new FakeEditor;
            editor->answer = editorAnswer;
            effect.attachEditor(editor);

            const intptr_t expected = row.answers && editorAnswer ? 1 : 0;
            EXPECT_EQ(dispatch(effect, row.opcode, 0, row.value, gText), expected);
            EXPECT_EQ(editor->calls, std::vector<std::string>{row.call});
        }
    }
}

TEST(Dispatcher, KeyOpcodesBuildTheKeyCode)
{
    struct Row
    {
        const char* label;
        int32_t opcode;
        intptr_t value;
        float opt;
        unsigned char virt;
        unsigned char modifier;
    };
    const Row rows[] = {
        {"down, opt truncated", effEditKeyDown, 0x12, 3.9f, 0x12, 3},
        {"up, low byte of value", effEditKeyUp, 0x1234, 0.0f, 0x34, 0},
        {"negative opt keeps its low byte", effEditKeyDown, 1, -1.5f, 1, 0xFF},
        {"large opt keeps its low byte", effEditKeyUp, 1, 258.0f, 1, 2},
    };
    for (const auto& row : rows)
    {
        SCOPED_TRACE(row.label);
        PlainEffect effect;
        auto* editor = new FakeEditor;
        effect.attachEditor(editor);

        EXPECT_EQ(dispatch(effect, row.opcode, 65, row.value, nullptr, row.opt), 1);
        const std::string expectedCall = row.opcode == effEditKeyDown ? "onKeyDown" : "onKeyUp";
        EXPECT_EQ(editor->calls, std::vector<std::string>{expectedCall});
        EXPECT_EQ(editor->lastKey.character, 65);
        EXPECT_EQ(editor->lastKey.virt, row.virt);
        EXPECT_EQ(editor->lastKey.modifier, row.modifier);
    }
}

TEST(Dispatcher, KeyOpcodesRefuseModifiersNoIntegerHolds)
{
    const float badModifiers[] = {std::numeric_limits<float>::quiet_NaN(),
                                  std::numeric_limits<float>::infinity(),
                                  -std::numeric_limits<float>::infinity(),
                                  3.0e9f,
                                  -3.0e9f,
                                  2147483648.0f};
    for (const int32_t opcode : {effEditKeyDown, effEditKeyUp})
    {
        for (const float opt : badModifiers)
        {
            SCOPED_TRACE("opcode " + std::to_string(opcode) + " opt " + std::to_string(opt));
            PlainEffect effect;
            auto* editor = new FakeEditor;
            effect.attachEditor(editor);
            EXPECT_EQ(dispatch(effect, opcode, 65, 1, nullptr, opt), 0);
            EXPECT_TRUE(editor->calls.empty());

            PlainEffect withoutEditor;
            EXPECT_EQ(dispatch(withoutEditor, opcode, 65, 1, nullptr, opt), 0);
        }
    }
}
