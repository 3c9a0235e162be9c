#pragma once

#include "tests/hosts/audio_unit/HostedUnit.h"
#include "tests/hosts/common/AudioFiles.h"

#include <array>
#include <string>
#include <vector>

/** Where a unit's input comes from: the host's render callback, or a source unit of the host's
    own connected to the unit's input (opened through the frameworks stand-in on the Component
    Manager road, with a fast render function). Either hands out frames of a four-channel signal
    from the position the host sets before each render. */
class InputFeed
{
public:
    static constexpr int kChannels = 4;

    enum class Kind
    {
        callback,
        connection,
    };
    static Kind parseKind(const std::string& name);
    static const char* kindName(Kind kind);

    /** The signal must outlive the feed; maxFrames bounds a pull. */
    InputFeed(Kind kind, const MultichannelAudio& signal, UInt32 maxFrames);
    ~InputFeed();

    /** Sets the unit's input to this feed; answers what the unit answered. */
    OSStatus attach(HostedUnit& unit);
    void setPosition(int64_t frame) { position = frame; }
    int pulls() const { return pullCount; }

    InputFeed(const InputFeed&) = delete;
    InputFeed& operator=(const InputFeed&) = delete;

private:
    static OSStatus renderCallback(void* refCon, AudioUnitRenderActionFlags* flags,
                                   const AudioTimeStamp* timeStamp, UInt32 bus, UInt32 frames,
                                   AudioBufferList* data);
    static OSStatus sourceEntry(ComponentParameters* params, void* storage);
    static OSStatus sourceRender(void* storage, AudioUnitRenderActionFlags* flags,
                                 const AudioTimeStamp* timeStamp, UInt32 bus, UInt32 frames,
                                 AudioBufferList* data);
    /** Copies the signal's frames into the list, into memory of the feed's own where the list
        has none. */
    OSStatus fill(AudioBufferList& list, UInt32 frames);
    OSStatus answerSourceProperty(const ComponentParameters& params);

    Kind kind;
    const MultichannelAudio& signal;
    UInt32 maxFrames;
    double sampleRate;
    int64_t position = 0;
    int pullCount = 0;
    std::array<std::vector<float>, kChannels> ownMemory;
    ComponentInstance source = nullptr;
};
