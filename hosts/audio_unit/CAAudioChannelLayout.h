// The channel count a channel layout describes.
#pragma once

#include "platform/CoreAudioTypes.h"

class CAAudioChannelLayout
{
public:
    /** Bitmap layouts count their set bits, description layouts their descriptions, any other
        tag carries the count in its low 16 bits. */
    static UInt32 NumberChannels(const AudioChannelLayout& layout);
};
