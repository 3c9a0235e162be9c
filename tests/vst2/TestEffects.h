// Shared doubles for the effect-base tests: a recording host callback, a plain effect and an
// editor that counts its calls.
#pragma once

#include "hosts/vst2/AudioEffectX.h"

#include <string>
#include <vector>

namespace vst2test
{
struct HostCall
{
    AEffect* effect;
    int32_t opcode;
    int32_t index;
    intptr_t value;
    void* ptr;
    float opt;
};

/** A host callback that records every call and answers a set value. */
struct RecordingHost
{
    inline static std::vector<HostCall> calls;
    inline static intptr_t answer = 0;

    static void reset(intptr_t answerToGive = 0)
    {
        calls.clear();
        answer = answerToGive;
    }

    static intptr_t callback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                             void* ptr, float opt)
    {
        calls.push_back({effect, opcode, index, value, ptr, opt});
        return answer;
    }
};

/** An effect that adds nothing to the base classes. */
class PlainEffect : public AudioEffectX
{
public:
    explicit PlainEffect(audioMasterCallback host = nullptr, int32_t programs = 2,
                         int32_t params = 3)
        : AudioEffectX(host, programs, params)
    {
    }

    void processReplacing(float**, float**, int32_t) override {}

    void attachEditor(AEffEditor* newEditor) { editor = newEditor; }
};

/** Records the calls it receives and answers a set value. */
class FakeEditor : public AEffEditor
{
public:
    inline static int destroyed = 0;

    ~FakeEditor() override { ++destroyed; }

    bool getRect(ERect** rect) override { return record("getRect", rect); }
    bool open(void* window) override { return record("open", window); }
    void close() override { record("close", nullptr); }
    void idle() override { record("idle", nullptr); }
    bool onKeyDown(VstKeyCode& keyCode) override { return recordKey("onKeyDown", keyCode); }
    bool onKeyUp(VstKeyCode& keyCode) override { return recordKey("onKeyUp", keyCode); }
    bool setKnobMode(int32_t mode) override
    {
        knobMode = mode;
        return record("setKnobMode", nullptr);
    }

    std::vector<std::string> calls;
    void* lastPointer = nullptr;
    VstKeyCode lastKey{};
    int32_t knobMode = 0;
    bool answer = true;

private:
    bool record(const char* name, void* ptr)
    {
        calls.emplace_back(name);
        lastPointer = ptr;
        return answer;
    }

    bool recordKey(const char* name, const VstKeyCode& keyCode)
    {
        lastKey = keyCode;
        return record(name, nullptr);
    }
};
} // namespace vst2test
