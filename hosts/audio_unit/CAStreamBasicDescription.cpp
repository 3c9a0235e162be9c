#include "hosts/audio_unit/CAStreamBasicDescription.h"

#include <cstddef>
#include <cstring>

bool CAStreamBasicDescription::IsEqual(const AudioStreamBasicDescription& other, bool) const
{
    constexpr size_t kComparedBytes = offsetof(AudioStreamBasicDescription, mReserved);
    const auto& self = static_cast<const AudioStreamBasicDescription&>(*this);
    return std::memcmp(&self, &other, kComparedBytes) == 0;
}
