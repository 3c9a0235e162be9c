#include "tests/hosts/vst2/HostedEffect.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>

namespace
{
/** Larger than any capacity, so a write past capacity lands in bytes the host can inspect. */
constexpr size_t kTextProbeSize = 256;
constexpr char kUntouched = '\x7f';
/** A chunk larger than this is taken as garbage rather than state. */
constexpr intptr_t kMaxPlausibleChunk = 1 << 20;

std::string hex32(int32_t value)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%08x", uint32_t(value));
    return text;
}
} // namespace

HostedEffect::HostedEffect(const PluginLibrary& library, HostContext& hostContext)
    : context(hostContext)
{
    setPendingHostContext(&context);
    AEffect* answered = library.entry()(hostCallback);
    setPendingHostContext(nullptr);

    const std::string entry = library.entryName();
    if (answered == nullptr)
        throw LoadError(entry + " answered no effect record");
    // Nothing of a record with a foreign magic can be trusted, not even its dispatcher.
    if (answered->magic != kEffectMagic)
        throw LoadError(entry + " answered a record with magic " + hex32(answered->magic) +
                        " instead of " + hex32(kEffectMagic));
    if (answered->dispatcher == nullptr)
        throw LoadError(entry + " answered a record without a dispatcher");

    effect = answered;
    effect->user = &context;
}

HostedEffect::~HostedEffect()
{
    if (!closed)
        close();
}

std::string HostedEffect::summary() const
{
    return "magic " + hex32(effect->magic) + ", " + std::to_string(effect->numInputs) + " in / " +
           std::to_string(effect->numOutputs) + " out, flags " + std::to_string(effect->flags) +
           ", unique id " + hex32(effect->uniqueID) + ", version " +
           std::to_string(effect->version);
}

intptr_t HostedEffect::dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt)
{
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

void HostedEffect::open()
{
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, float(context.sampleRate));
    dispatch(effSetBlockSize, 0, context.blockSize);
}

void HostedEffect::resume()
{
    dispatch(effMainsChanged, 0, 1);
    dispatch(effStartProcess);
}

void HostedEffect::suspend()
{
    dispatch(effStopProcess);
    dispatch(effMainsChanged, 0, 0);
}

void HostedEffect::requireFourChannelReplacing() const
{
    if (effect->numInputs != 4 || effect->numOutputs != 4)
        throw LoadError("the effect has " + std::to_string(effect->numInputs) + " inputs and " +
                        std::to_string(effect->numOutputs) + " outputs, not 4 and 4");
    if ((effect->flags & effFlagsCanReplacing) == 0 || effect->processReplacing == nullptr)
        throw LoadError("the effect cannot process in replacing mode");
}

void HostedEffect::process(float** inputs, float** outputs, int32_t frames)
{
    effect->processReplacing(effect, inputs, outputs, frames);
}

void HostedEffect::setParameter(int32_t index, float value)
{
    if (effect->setParameter != nullptr)
        effect->setParameter(effect, index, value);
}

float HostedEffect::getParameter(int32_t index)
{
    return effect->getParameter != nullptr ? effect->getParameter(effect, index) : 0.0f;
}

std::string HostedEffect::text(int32_t opcode, size_t capacity, int32_t index)
{
    std::array<char, kTextProbeSize> buffer;
    buffer.fill(kUntouched);
    dispatch(opcode, index, 0, buffer.data());

    const auto touched = [](char c) { return c != kUntouched; };
    if (std::none_of(buffer.begin(), buffer.end(), touched))
        return {};

    const std::string where =
        "opcode " + std::to_string(opcode) + " (index " + std::to_string(index) + ")";
    if (std::any_of(buffer.begin() + long(capacity), buffer.end(), touched))
        problem(where + " wrote past its " + std::to_string(capacity) + "-byte buffer");

    const auto end = std::find(buffer.begin(), buffer.begin() + long(capacity), '\0');
    if (end == buffer.begin() + long(capacity))
    {
        problem(where + " left its text unterminated");
        return std::string(buffer.data(), capacity);
    }
    return std::string(buffer.begin(), end);
}

std::vector<uint8_t> HostedEffect::chunk()
{
    void* data = nullptr;
    const intptr_t size = dispatch(effGetChunk, 0, 0, &data);
    if (size == 0)
        return {};
    if (size < 0 || size > kMaxPlausibleChunk || data == nullptr)
    {
        problem("effGetChunk answered size " + std::to_string(size) +
                (data == nullptr ? " with no data" : ""));
        return {};
    }
    const auto* bytes = static_cast<const uint8_t*>(data);
    return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t HostedEffect::setChunk(const std::vector<uint8_t>& bytes)
{
    // The dispatcher's pointer is not const; the effect only reads through it.
    std::vector<uint8_t> copy = bytes;
    return dispatch(effSetChunk, 0, intptr_t(copy.size()), copy.empty() ? nullptr : copy.data());
}

intptr_t HostedEffect::close()
{
    closed = true;
    return effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f);
}

void HostedEffect::problem(std::string description)
{
    problemList.push_back(std::move(description));
}
