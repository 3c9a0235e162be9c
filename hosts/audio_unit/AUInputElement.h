// An input bus and where its audio comes from: nothing, a connection to another unit's output,
// or a render callback of the host.
#pragma once

#include "hosts/audio_unit/AUIOElement.h"

#include <atomic>
#include <memory>

class AUInputElement : public AUIOElement
{
public:
    enum EInputType : UInt32
    {
        kNoInput = 0,
        kFromConnection = 1,
        kFromCallback = 2,
    };

    explicit AUInputElement(AUBase& audioUnit);
    ~AUInputElement() override;

    OSStatus SetStreamFormat(const CAStreamBasicDescription& format) override;
    /** Only a callback input keeps samples of its own: a connected unit renders into its own
        memory. */
    bool NeedsBufferSpace() const override { return IsCallback(); }

    /** A null source unit disconnects. Asks the source for its fast render function, which is
        used only together with the source's instance storage; the unit's mutex is let go while
        it asks. */
    void SetConnection(const AudioUnitConnection& connection);
    /** A null callback disconnects. */
    void SetInputCallback(AURenderCallback proc, void* refCon);
    /** While the unit is initialised a render may go on pulling into the samples, so they are
        kept until the unit's clean-up deallocates them. */
    void Disconnect();

    bool IsActive() const { return InputType() != kNoInput; }
    bool HasConnection() const { return InputType() == kFromConnection; }
    bool IsCallback() const { return InputType() == kFromCallback; }

    /** Renders the input into this bus's list (render thread), from the source found at the
        call's start. Answers kAudioUnitErr_NoConnection without input or when the input was
        disconnected during the call, the source's failure unchanged, and kAudio_ParamError
        when the source left the list with another buffer count, a null data pointer or fewer
        bytes than the frames need. */
    OSStatus PullInput(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp,
                       AudioUnitElement inElement, UInt32 inNumberFrames);

private:
    /** Where the audio comes from, published whole: a render never calls one callback with
        another's user data. */
    struct Source
    {
        EInputType mInputType = kNoInput;
        AURenderCallback mInputProc = nullptr;
        void* mInputProcRefCon = nullptr;
        AudioUnitConnection mConnection{};
        AudioUnitRenderProc mConnRenderProc = nullptr;
        void* mConnInstanceStorage = nullptr;

        bool operator==(const Source& other) const;
    };
    using SourceRecord = AURetirableValue<Source>;

    EInputType InputType() const;
    /** Publishes the source (null for none) and retires the one it replaces. */
    void Publish(std::unique_ptr<SourceRecord> source);
    bool DeliveredWholeBuffers(const AudioBufferList& list, const CAStreamBasicDescription& format,
                               UInt32 frames) const;

    std::atomic<SourceRecord*> mSource{nullptr};
};
