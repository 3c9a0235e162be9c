// Speaker-arrangement blocks: allocated and released as byte arrays, so that a block holds
// exactly the header and its speakers.
#include "hosts/vst2/AudioEffectX.h"

#include <climits>
#include <cstring>
#include <new>

namespace
{
constexpr size_t kSpeakerNameCharacters = sizeof(VstSpeakerProperties::name) - 1;

// Blocks stay within what a signed 32-bit size can describe.
constexpr int32_t kMaxChannels = static_cast<int32_t>(
    (INT32_MAX - kVstSpeakerArrangementHeaderSize) / sizeof(VstSpeakerProperties));

size_t arrangementBytes(int32_t nbChannels)
{
    return kVstSpeakerArrangementHeaderSize +
           static_cast<size_t>(nbChannels) * sizeof(VstSpeakerProperties);
}

void releaseBlock(VstSpeakerArrangement* arrangement)
{
    delete[] reinterpret_cast<unsigned char*>(arrangement);
}
} // namespace

bool AudioEffectX::allocateArrangement(VstSpeakerArrangement** arrangement, int32_t nbChannels)
{
    // Refused before anything is released, so the caller keeps its block.
    if (arrangement == nullptr || nbChannels < 0 || nbChannels > kMaxChannels)
        return false;

    releaseBlock(*arrangement);
    *arrangement = nullptr;

    const auto size = arrangementBytes(nbChannels);
    auto* const block = new (std::nothrow) unsigned char[size];
    if (block == nullptr)
        return false;
    std::memset(block, 0, size);

    *arrangement = reinterpret_cast<VstSpeakerArrangement*>(block);
    (*arrangement)->numChannels = nbChannels;
    return true;
}

bool AudioEffectX::deallocateArrangement(VstSpeakerArrangement** arrangement)
{
    if (arrangement == nullptr)
        return false;
    releaseBlock(*arrangement);
    *arrangement = nullptr;
    return true;
}

bool AudioEffectX::copySpeaker(VstSpeakerProperties* to, VstSpeakerProperties* from)
{
    if (to == nullptr || from == nullptr)
        return false;
    if (to == from)
        return true;

    std::strncpy(to->name, from->name, kSpeakerNameCharacters);
    to->name[kSpeakerNameCharacters] = 0;
    to->type = from->type;
    to->azimuth = from->azimuth;
    to->elevation = from->elevation;
    to->radius = from->radius;
    to->reserved = from->reserved;
    std::memcpy(to->future, from->future, sizeof(to->future));
    return true;
}

bool AudioEffectX::matchArrangement(VstSpeakerArrangement** to, VstSpeakerArrangement* from)
{
    if (to == nullptr || from == nullptr)
        return false;
    // Releasing the destination would free the source too; it already matches itself.
    if (*to == from)
        return true;

    if (!deallocateArrangement(to) || !allocateArrangement(to, from->numChannels))
        return false;

    (*to)->type = from->type;
    for (int32_t i = 0; i < from->numChannels; ++i)
        if (!copySpeaker(&(*to)->speakers[i], &from->speakers[i]))
            return false;
    return true;
}
