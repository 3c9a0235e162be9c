#include "hosts/audio_unit/CAAudioChannelLayout.h"

#include <bit>

UInt32 CAAudioChannelLayout::NumberChannels(const AudioChannelLayout& layout)
{
    switch (layout.mChannelLayoutTag)
    {
    case kAudioChannelLayoutTag_UseChannelBitmap:
        return UInt32(std::popcount(layout.mChannelBitmap));
    case kAudioChannelLayoutTag_UseChannelDescriptions:
        return layout.mNumberChannelDescriptions;
    default:
        return layout.mChannelLayoutTag & 0xFFFF;
    }
}
