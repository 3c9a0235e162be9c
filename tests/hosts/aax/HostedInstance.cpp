#include "tests/hosts/aax/HostedInstance.h"

#include "tests/hosts/aax/EffectParametersEntries.h"
#include "tests/hosts/common/ExitCodes.h"
#include "tests/hosts/common/StateChunk.h"

#include <algorithm>
#include <cstring>

using namespace fakeaax;

namespace
{
constexpr int32_t kQuadStemFormat = 0x00040004;
constexpr uint32_t kStateChunkID = 0x6A756365; // 'juce'

using CreationFunction = void* (*)();
using ProcessProcedure = void (*)(void* const* contexts, void* const* end);

size_t wordsFor(uint32_t bytes)
{
    return (bytes + sizeof(uint64_t) - 1) / sizeof(uint64_t);
}
} // namespace

std::string chunkName(uint32_t id)
{
    std::string name;
    for (int shift = 24; shift >= 0; shift -= 8)
        name += char(id >> shift);
    return "'" + name + "'";
}

HostedInstance::HostedInstance(const AaxBundle& bundleToRun, double sampleRate,
                               Automation automation)
    : loaded(bundleToRun), port(wordsFor(bundleToRun.effect().portSize)),
      privateData(wordsFor(bundleToRun.effect().privateDataSize))
{
    void* const created =
        reinterpret_cast<CreationFunction>(loaded.effect().createEffectParameters)();
    if (created == nullptr || queryInterface(created, guid("EffectParametersV2"), &effect) != 0)
        throw LoadError("the effect-parameters creation function gave no usable object");
    instance = host().newInstanceObject({float(sampleRate), kQuadStemFormat});
    host().linkEffectParameters(instance, effect);
    if (automation == Automation::synchronous)
        host().answerSetValueRequestsAt(instance, [this](const char* identifier, double value)
                                        { update(identifier, value); });
    check(effect::Initialize::call(effect, instance), "Initialize");
    check(effect::ResetFieldData::call(effect, loaded.effect().privateData, privateData.data(),
                                       loaded.effect().privateDataSize),
          "ResetFieldData");
}

HostedInstance::~HostedInstance()
{
    effect::Uninitialize::call(effect);
    release(effect);
}

void HostedInstance::check(int32_t result, const std::string& what)
{
    if (result != kSuccess)
        problems.push_back(what + " answered " + std::to_string(result));
}

int32_t HostedInstance::update(const char* identifier, double value)
{
    return effect::UpdateParameterNormalizedValue::call(effect, identifier, value, 0);
}

size_t HostedInstance::answerRequests()
{
    const auto requests = host().takeSetValueRequests();
    for (const auto& [identifier, value] : requests)
        check(update(identifier.c_str(), value), "the update of " + identifier);
    return requests.size();
}

std::vector<std::string> HostedInstance::generateCoefficients()
{
    check(effect::GenerateCoefficients::call(effect), "GenerateCoefficients");
    std::vector<std::string> posted;
    for (const auto& packet : host().takePackets(instance))
    {
        std::string line = std::to_string(packet.field) + ":";
        for (const uint8_t byte : packet.bytes)
        {
            char hex[4];
            std::snprintf(hex, sizeof hex, " %02X", byte);
            line += hex;
        }
        posted.push_back(line);
        if (int(packet.field) != loaded.effect().port)
        {
            problems.push_back("a packet for field " + std::to_string(packet.field) +
                               ", which is no port");
            continue;
        }
        // The port keeps the size it was declared with.
        std::memset(port.data(), 0, port.size() * sizeof(uint64_t));
        std::memcpy(port.data(), packet.bytes.data(),
                    std::min<size_t>(packet.bytes.size(), loaded.effect().portSize));
    }
    return posted;
}

void HostedInstance::process(float* const* inputs, float* const* outputs, int32_t length)
{
    const auto& description = loaded.effect();
    std::vector<void*> fields(size_t(description.contextSize()), nullptr);
    fields[size_t(description.audioIn)] = const_cast<float**>(inputs);
    fields[size_t(description.audioOut)] = const_cast<float**>(outputs);
    fields[size_t(description.bufferLength)] = &length;
    fields[size_t(description.port)] = port.data();
    fields[size_t(description.privateData)] = privateData.data();
    // The MIDI node stays null: the plug-in takes MIDI and never reads it.
    void* const contexts[] = {fields.data()};
    reinterpret_cast<ProcessProcedure>(description.process)(contexts, contexts + 1);
}

double HostedInstance::normalizedValue(const char* identifier)
{
    double value = -1.0;
    check(effect::GetParameterNormalizedValue::call(effect, identifier, &value),
          std::string("GetParameterNormalizedValue of ") + identifier);
    return value;
}

std::vector<HostedInstance::Chunk> HostedInstance::saveChunks()
{
    int32_t count = 0;
    check(effect::GetNumberOfChunks::call(effect, &count), "GetNumberOfChunks");
    std::vector<Chunk> chunks;
    for (int32_t index = 0; index < count; ++index)
    {
        uint32_t id = 0;
        uint32_t size = 0;
        check(effect::GetChunkIDFromIndex::call(effect, index, &id), "GetChunkIDFromIndex");
        check(effect::GetChunkSize::call(effect, id, &size), "GetChunkSize " + chunkName(id));
        Chunk chunk{id, HostChunk(size)};
        chunk.record.setChunkID(id);
        check(effect::GetChunk::call(effect, id, chunk.record.record()),
              "GetChunk " + chunkName(id));
        chunks.push_back(std::move(chunk));
    }
    return chunks;
}

int32_t HostedInstance::restore(Chunk& chunk)
{
    return effect::SetChunk::call(effect, chunk.id, chunk.record.record());
}

bool HostedInstance::compare(Chunk& chunk)
{
    bool equal = false;
    check(effect::CompareActiveChunk::call(effect, chunk.record.record(), &equal),
          "CompareActiveChunk " + chunkName(chunk.id));
    return equal;
}

int32_t HostedInstance::restoreState(const std::optional<std::string>& gain,
                                     const std::optional<std::string>& direction)
{
    Chunk chunk{kStateChunkID, HostChunk(makeStateBlock(gain, direction))};
    chunk.record.setChunkID(kStateChunkID);
    const int32_t answer = restore(chunk);
    answerRequests();
    return answer;
}

std::string HostedInstance::stateText()
{
    uint32_t size = 0;
    check(effect::GetChunkSize::call(effect, kStateChunkID, &size), "GetChunkSize 'juce'");
    HostChunk chunk(size);
    chunk.setChunkID(kStateChunkID);
    check(effect::GetChunk::call(effect, kStateChunkID, chunk.record()), "GetChunk 'juce'");
    const auto bytes = chunk.bytes();
    return stateBlockText({bytes.begin() + HostChunk::kHeaderSize, bytes.end()})
        .value_or("(not a state block)");
}
