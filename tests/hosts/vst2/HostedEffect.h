#pragma once

#include "hosts/vst2/VstAbi.h"
#include "tests/hosts/vst2/HostCallback.h"
#include "tests/hosts/vst2/PluginLibrary.h"

#include <cstdint>
#include <string>
#include <vector>

/** Buffer capacities of the text opcodes (characters plus the terminator). */
namespace textCapacity
{
constexpr size_t parameter = 8 + 1;
constexpr size_t programName = 24 + 1;
constexpr size_t name = 64 + 1;
} // namespace textCapacity

/** One effect instance, reached only through its record: created by the library's entry, checked
    before anything of it is called, closed with effClose. Misbehaviour that the host survives
    (a text longer than its buffer, an odd chunk answer) is collected in problems(). */
class HostedEffect
{
public:
    /** Runs the entry; refuses a null record, a wrong magic or a missing dispatcher. */
    HostedEffect(const PluginLibrary& library, HostContext& context);
    ~HostedEffect();

    HostedEffect(const HostedEffect&) = delete;
    HostedEffect& operator=(const HostedEffect&) = delete;

    const AEffect& record() const { return *effect; }
    /** One line: magic, channels, flags, unique ID, version. */
    std::string summary() const;

    intptr_t dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                      float opt = 0.0f);

    /** effOpen, then the context's sample rate and block size, as a host does after loading. */
    void open();
    void resume();
    void suspend();

    /** Refuses an effect that cannot process 4 in, 4 out in replacing mode. */
    void requireFourChannelReplacing() const;
    void process(float** inputs, float** outputs, int32_t frames);
    void setParameter(int32_t index, float value);
    float getParameter(int32_t index);

    /** A text opcode's answer; a write past capacity or a missing terminator is a problem. */
    std::string text(int32_t opcode, size_t capacity, int32_t index = 0);
    std::vector<uint8_t> chunk();
    intptr_t setChunk(const std::vector<uint8_t>& bytes);

    /** effClose; the record is gone afterwards. Answers what the dispatcher answered. */
    intptr_t close();

    const std::vector<std::string>& problems() const { return problemList; }

private:
    void problem(std::string description);

    AEffect* effect = nullptr;
    HostContext& context;
    bool closed = false;
    std::vector<std::string> problemList;
};
