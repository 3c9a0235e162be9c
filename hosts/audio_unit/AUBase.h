// The base of every Audio Unit: its scopes and their elements, the initialise / clean-up / reset
// cycle and the I/O buffers, the property dispatch and its listeners, the render path with its
// render notifications, parameters and scheduled parameter events, and the saved state with the
// present preset. The unit classes above it replace the virtual operations; the entry points
// reach it through the non-virtual Do... and Dispatch... operations.
#pragma once

#include "hosts/audio_unit/AUIOElement.h"
#include "hosts/audio_unit/AUPresentPreset.h"
#include "hosts/audio_unit/AUPropertyListeners.h"
#include "hosts/audio_unit/AURetirement.h"
#include "hosts/audio_unit/AUScope.h"
#include "hosts/audio_unit/CAMutex.h"
#include "hosts/audio_unit/CAStreamBasicDescription.h"
#include "hosts/audio_unit/ComponentBase.h"
#include "hosts/audio_unit/TThreadSafeList.h"

#include <atomic>
#include <memory>
#include <pthread.h>
#include <vector>

class AUInputElement;
class AUOutputElement;

class AUBase : public ComponentBase
{
public:
    /** Maximum frames per slice until a host sets its own. */
    static constexpr UInt32 kDefaultMaxFramesPerSlice = 1156;
    /** Room the event list gets at initialisation, so that scheduling rarely allocates. */
    static constexpr size_t kInitialParameterEventRoom = 24;

    using PropertyListener = AUPropertyListeners::PropertyListener;
    using ParameterEventList = std::vector<AudioUnitParameterEvent>;

    /** One render notification: called before and after every render. */
    struct RenderCallback
    {
        AURenderCallback mRenderNotify;
        void* mRenderNotifyRefCon;

        bool operator==(const RenderCallback&) const = default;
    };

    /** Builds the global scope with its one element; the buses follow in PostConstructor. */
    AUBase(AudioComponentInstance inInstance, UInt32 numInputElements, UInt32 numOutputElements,
           UInt32 numGroupElements = 0);
    ~AUBase() override;

    //==============================================================================================
    // Lifecycle

    void PostConstructor() override { CreateElements(); }
    /** The clean-up of DoCleanup, under the unit's mutex when it has one. */
    void PreDestructor() override;

    /** Creates the input, output and group elements once. */
    void CreateElements();
    /** Initialize, then the buffers; answers Initialize's failure unchanged. */
    OSStatus DoInitialize();
    /** Cleanup (when initialised), buffers released, render time reset. */
    void DoCleanup();
    /** The sample time -1, so that the next render always runs. */
    void ResetRenderTime();

    bool IsInitialized() const { return mInitialized.load(std::memory_order_acquire); }
    bool HasBegunInitializing() const { return mHasBegunInitializing; }
    UInt32 GetMaxFramesPerSlice() const
    {
        return mMaxFramesPerSlice.load(std::memory_order_relaxed);
    }
    UInt8 AudioUnitAPIVersion() const { return mAudioUnitAPIVersion; }
    Float64 CurrentRenderSampleTime() const
    {
        return mCurrentRenderSampleTime.load(std::memory_order_relaxed);
    }
    /** The name is borrowed: valid until the preset changes. */
    AUPreset CurrentPreset() const { return mCurrentPreset.Borrowed(); }
    const HostCallbackInfo& GetHostCallbackInfo() const { return mHostCallbackInfo; }
    CAMutex* GetMutex() const { return mAUMutex; }

    /** What a host call replaces while a render may hold it is retired here; renders are its
        readers. */
    AURetirement& GetRetirement() noexcept { return mRetirement; }
    /** Render path: whether the unit has been neither cleaned up nor initialised since the
        outermost render in flight began, so that what it found then is still the unit's. */
    bool RenderStateIsCurrent() const noexcept
    {
        const UInt32 now = mLifecycleChanges.load();
        return now == mRenderLifecycle && now % 2 == 0;
    }

    //==============================================================================================
    // Scopes and elements

    /** Throws kAudioUnitErr_InvalidScope for a scope the unit does not have. */
    AUScope& GetScope(AudioUnitScope inScope);
    AUScope& Globals() { return mScopes[kAudioUnitScope_Global]; }
    AUScope& Inputs() { return mScopes[kAudioUnitScope_Input]; }
    AUScope& Outputs() { return mScopes[kAudioUnitScope_Output]; }
    AUScope& Groups() { return mScopes[kAudioUnitScope_Group]; }

    /** These throw kAudioUnitErr_InvalidElement for an element that does not exist or is not
        of the asked kind. */
    AUElement* GetElement(AudioUnitScope inScope, AudioUnitElement inElement);
    AUIOElement* GetIOElement(AudioUnitScope inScope, AudioUnitElement inElement);
    AUInputElement* GetInput(AudioUnitElement inElement);
    AUOutputElement* GetOutput(AudioUnitElement inElement);

    //==============================================================================================
    // Properties, as the entry points reach them. Info and get come in pairs: get is called
    // only after info succeeded, with a buffer of at least the size info gave.

    OSStatus DispatchGetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, UInt32& outDataSize,
                                     bool& outWritable);
    OSStatus DispatchGetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, void* outData);
    /** Only with data and a non-zero size. */
    OSStatus DispatchSetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, const void* inData, UInt32 inDataSize);
    OSStatus DispatchRemovePropertyValue(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement);

    /** A host's get-property call, on both roads: a null data pointer asks for the size; a
        caller's buffer smaller than the value gets the first bytes of it, except for a value
        that holds an object (kAudio_ParamError). The caller holds the unit's mutex. */
    OSStatus GetPropertyForHost(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                AudioUnitElement inElement, void* outData, UInt32* ioDataSize);

    /** A host's get-property-info call, on both roads: each out pointer that is not null gets
        its value, whatever the result, also when the query throws. */
    OSStatus GetPropertyInfoForHost(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                    AudioUnitElement inElement, UInt32* outDataSize,
                                    Boolean* outWritable);
    /** A host's set-property call, on both roads: data and a size set the value, neither removes
        it, one without the other is kAudio_ParamError. */
    OSStatus SetPropertyForHost(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                AudioUnitElement inElement, const void* inData, UInt32 inDataSize);

    bool IsStreamFormatWritable(AudioUnitScope scope, AudioUnitElement element);

    //==============================================================================================
    // Render, as the entry points reach it (the caller checked the pointers).

    /** Flush-to-zero for the call, the checks, the notifications before and after, and the
        recording of errors. Answers a status, never throws. A render nested in a render of this
        unit on the same thread (a unit fed from its own output) answers -1 at once, unless its
        sample time is the one being rendered, which RenderBus answers from that render. Takes no
        lock: only a host call made from inside it (by the render callback, a notification, or a
        listener of the render error) takes the unit's mutex, as every such call does, and may
        wait for a host thread that holds it; that is the host's choice. */
    OSStatus DoRender(AudioUnitRenderActionFlags& ioActionFlags, const AudioTimeStamp& inTimeStamp,
                      UInt32 inBusNumber, UInt32 inNumberFrames, AudioBufferList& ioData);
    /** A host's render call, on every road: a null time stamp or buffer list is
        kAudio_ParamError before anything runs; without flags a local word of 0 stands in. */
    OSStatus RenderForHost(AudioUnitRenderActionFlags* ioActionFlags,
                           const AudioTimeStamp* inTimeStamp, UInt32 inBusNumber,
                           UInt32 inNumberFrames, AudioBufferList* ioData);
    /** Renders the bus into the caller's memory, or into the bus's own memory and points the
        caller's list there. */
    OSStatus DoRenderBus(AudioUnitRenderActionFlags& ioActionFlags,
                         const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
                         AUIOElement& theOutput, UInt32 inNumberFrames, AudioBufferList& ioData);

    //==============================================================================================
    // The Component Manager road

    /** The Audio Unit selectors of a parameter block: the same operations the plug-in methods
        call, under the unit's mutex where the selector table says so; the rest goes on to
        ComponentBase. A null unit, or a block without all of the selector's arguments, answers
        kAudio_ParamError before anything is read. Failures are thrown on to the entry's catch. */
    static OSStatus ComponentEntryDispatch(ComponentParameters* params, AUBase* This);

    //==============================================================================================
    // Presets

    /** For classes with factory presets: a negative number or a null name answers false and
        changes nothing. Notifies nobody. */
    bool SetAFactoryPresetAsCurrent(const AUPreset& inPreset);

    //==============================================================================================
    // Virtual operations

    virtual void CreateExtendedElements() {}
    virtual OSStatus Initialize() { return noErr; }
    virtual void Cleanup() {}
    virtual OSStatus Reset(AudioUnitScope inScope, AudioUnitElement inElement);

    virtual OSStatus GetPropertyInfo(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                     AudioUnitElement inElement, UInt32& outDataSize,
                                     bool& outWritable);
    virtual OSStatus GetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, void* outData);
    virtual OSStatus SetProperty(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement, const void* inData, UInt32 inDataSize);
    virtual OSStatus RemovePropertyValue(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                         AudioUnitElement inElement);
    /** A null function answers kAudio_ParamError. */
    virtual OSStatus AddPropertyListener(AudioUnitPropertyID inID,
                                         AudioUnitPropertyListenerProc inProc, void* inProcRefCon);
    virtual OSStatus RemovePropertyListener(AudioUnitPropertyID inID,
                                            AudioUnitPropertyListenerProc inProc,
                                            void* inProcRefCon, bool refConSpecified);
    /** Any thread; takes effect at the start of the next render. */
    virtual OSStatus SetRenderNotification(AURenderCallback inProc, void* inRefCon);
    virtual OSStatus RemoveRenderNotification(AURenderCallback inProc, void* inRefCon);

    virtual OSStatus GetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                                  AudioUnitElement inElement, AudioUnitParameterValue& outValue);
    virtual OSStatus SetParameter(AudioUnitParameterID inID, AudioUnitScope inScope,
                                  AudioUnitElement inElement, AudioUnitParameterValue inValue,
                                  UInt32 inBufferOffsetInFrames);
    virtual bool CanScheduleParameters() const = 0;
    /** Immediate events are set at once; when the class can schedule, every event is kept for
        the coming render. Null events with a non-zero count answer kAudio_ParamError. */
    virtual OSStatus ScheduleParameter(const AudioUnitParameterEvent* inParameterEvent,
                                       UInt32 inNumEvents);

    virtual OSStatus ProcessBufferLists(AudioUnitRenderActionFlags& ioActionFlags,
                                        const AudioBufferList& inBuffer, AudioBufferList& outBuffer,
                                        UInt32 inFramesToProcess);
    /** Renders nothing for a sample time already rendered. */
    virtual OSStatus RenderBus(AudioUnitRenderActionFlags& ioActionFlags,
                               const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
                               UInt32 inNumberFrames);
    virtual OSStatus Render(AudioUnitRenderActionFlags& ioActionFlags,
                            const AudioTimeStamp& inTimeStamp, UInt32 inNumberFrames);

    virtual bool BusCountWritable(AudioUnitScope) { return false; }
    virtual OSStatus SetBusCount(AudioUnitScope inScope, UInt32 inCount);
    /** Takes the source's output format on the input first. While it asks the source, the
        unit's mutex is let go (the source takes its own). */
    virtual OSStatus SetConnection(const AudioUnitConnection& inConnection);
    virtual OSStatus SetInputCallback(UInt32 inPropertyID, AudioUnitElement inElement,
                                      AURenderCallback inProc, void* inRefCon);

    /** The ids of the scope's element with the most parameters; outList may be null. */
    virtual OSStatus GetParameterList(AudioUnitScope inScope,
                                      AudioUnitParameterID* outParameterList,
                                      UInt32& outNumParameters);
    virtual OSStatus GetParameterInfo(AudioUnitScope inScope, AudioUnitParameterID inParameterID,
                                      AudioUnitParameterInfo& outParameterInfo);
    virtual OSStatus GetParameterHistoryInfo(AudioUnitScope inScope,
                                             AudioUnitParameterID inParameterID,
                                             Float32& outUpdatesPerSecond,
                                             Float32& outHistoryDurationInSeconds);

    /** A new class-info dictionary, owned by the caller, open to further keys. When memory runs
        out anywhere in it, memFullErr and nothing handed out. */
    virtual OSStatus SaveState(CFPropertyListRef* outData);
    virtual void SaveExtendedScopes(CFMutableDataRef) {}
    /** Applies a class-info dictionary; keys it does not know are ignored. */
    virtual OSStatus RestoreState(CFPropertyListRef inData);
    virtual OSStatus GetParameterValueStrings(AudioUnitScope inScope,
                                              AudioUnitParameterID inParameterID,
                                              CFArrayRef* outStrings);
    virtual OSStatus CopyClumpName(AudioUnitScope inScope, UInt32 inClumpID,
                                   UInt32 inDesiredNameLength, CFStringRef* outClumpName);
    /** outData may be null (is there a list?). */
    virtual OSStatus GetPresets(CFArrayRef* outData);
    virtual OSStatus NewFactoryPresetSet(const AUPreset& inNewFactoryPreset);
    /** The present preset becomes a copy of the given one. */
    virtual OSStatus NewCustomPresetSet(const AUPreset& inNewCustomPreset);
    virtual UInt32 GetNumCustomUIComponents() { return 0; }
    virtual void GetUIComponentDescs(ComponentDescription*) {}
    /** The caller owns the answer. */
    virtual CFURLRef CopyIconLocation() { return nullptr; }

    virtual Float64 GetLatency() { return 0.0; }
    virtual Float64 GetTailTime() { return 0.0; }
    virtual bool SupportsTail() { return false; }

    virtual bool StreamFormatWritable(AudioUnitScope scope, AudioUnitElement element) = 0;
    /** The count of configurations; leaves outInfo alone when there are none. */
    virtual UInt32 SupportedNumChannels(const AUChannelInfo** outInfo);
    /** Canonical 32-bit float linear PCM, interleaved for API version 1. */
    virtual bool ValidFormat(AudioUnitScope inScope, AudioUnitElement inElement,
                             const CAStreamBasicDescription& inNewFormat);
    /** The global scope answers output element 0. */
    virtual const CAStreamBasicDescription& GetStreamFormat(AudioUnitScope inScope,
                                                            AudioUnitElement inElement);
    /** Sets the bus's format and tells the listeners; when the bus's buffer for it cannot be
        allocated, the previous format is put back before the failure goes on. */
    virtual OSStatus ChangeStreamFormat(AudioUnitScope inScope, AudioUnitElement inElement,
                                        const CAStreamBasicDescription& inPrevFormat,
                                        const CAStreamBasicDescription& inNewFormat);
    /** Scopes beyond the four built-in ones; null when the unit has none. */
    virtual AUScope* GetScopeExtended(AudioUnitScope) { return nullptr; }
    /** Tells the listeners of the id, on the calling thread. */
    virtual void PropertyChanged(AudioUnitPropertyID inID, AudioUnitScope inScope,
                                 AudioUnitElement inElement);
    /** Global, group and part scopes get a plain element, the input scope an input bus, the
        output scope an output bus; any other scope throws kAudioUnitErr_InvalidScope. */
    virtual std::unique_ptr<AUElement> CreateElement(AudioUnitScope scope,
                                                     AudioUnitElement element);

    virtual OSStatus Start() { return kAudio_UnimplementedError; }
    virtual OSStatus Stop() { return kAudio_UnimplementedError; }
    virtual OSStatus MIDIEvent(UInt32, UInt32, UInt32, UInt32) { return kAudio_UnimplementedError; }
    virtual OSStatus SysEx(const UInt8*, UInt32) { return kAudio_UnimplementedError; }

    /** Every bus's buffer for mMaxFramesPerSlice frames. */
    virtual void ReallocateBuffers();
    virtual void DeallocateIOBuffers();
    /** Reallocates the buffers when they exist; notifies the listeners of property 14. */
    virtual void SetMaxFramesPerSlice(UInt32 nFrames);
    /** kAudioUnitErr_Initialized while initialised. */
    virtual OSStatus CanSetMaxFrames() const;

    virtual UInt32 GetChannelLayoutTags(AudioUnitScope scope, AudioUnitElement element,
                                        AudioChannelLayoutTag* outLayoutTags);
    virtual UInt32 GetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element,
                                         AudioChannelLayout* outLayoutPtr, bool& outWritable);
    /** Only a layout with the element's channel count and one of its supported tags. */
    virtual OSStatus SetAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element,
                                           const AudioChannelLayout* inLayout);
    virtual OSStatus RemoveAudioChannelLayout(AudioUnitScope scope, AudioUnitElement element);

    /** Cuts the frames into slices at every event boundary, brings the parameters up to date
        for each slice, and has ProcessScheduledSlice process it. Sorts the list. */
    virtual OSStatus ProcessForScheduledParams(ParameterEventList& inParamList,
                                               UInt32 inFramesToProcess, void* inUserData);
    virtual OSStatus ProcessScheduledSlice(void*, UInt32, UInt32, UInt32) { return noErr; }

protected:
    /** The unit's own mutex, installed as mAUMutex at construction. First, so that it outlives
        everything else the unit takes down. */
    CAMutex mUnitMutex;
    /** Before the scopes: the elements retire into it until the unit is destroyed. */
    AURetirement mRetirement;
    bool mElementsCreated = false;
    /** Set last, after the buffers exist; read by the render thread. */
    std::atomic<bool> mInitialized{false};
    bool mHasBegunInitializing = false;
    UInt8 mAudioUnitAPIVersion = 2;
    const UInt32 mInitNumInputEls;
    const UInt32 mInitNumOutputEls;
    const UInt32 mInitNumGroupEls;
    /** Global, input, output, group: destroyed in the reverse order. */
    AUScope mScopes[4];
    TThreadSafeList<RenderCallback> mRenderCallbacks;
    /** Once set, every render applies the pending requests and walks the list. */
    std::atomic<bool> mRenderCallbacksTouched{false};
    std::atomic<pthread_t> mRenderThreadID{};
    bool mWantsRenderThreadID = false;
    /** The thread in the outermost render of this unit, none (0) between renders. Only the
        rendering thread compares it with itself, to find a render nested in its own. */
    std::atomic<pthread_t> mRenderingThread{};
    /** The sample time of the last bus render, -1 when none since the last reset. The render
        thread writes it, and so does a reset from any host thread (turning bypass off, the reset
        selector): atomic. Nothing else of the render's time stamp is ever read. */
    std::atomic<Float64> mCurrentRenderSampleTime{-1.0};
    /** Set by host threads (only while not initialised), read by the render. */
    std::atomic<UInt32> mMaxFramesPerSlice{kDefaultMaxFramesPerSlice};
    /** The first render error the host has not read yet. */
    std::atomic<OSStatus> mLastRenderError{noErr};
    AUPresentPreset mCurrentPreset;
    bool mUsesFixedBlockSize = false;
    ParameterEventList mParamList;
    AUPropertyListeners mPropertyListeners;
    bool mBuffersAllocated = false;
    /** Taken by the host calls that are not real-time, on both roads, and by PreDestructor:
        host calls on one unit run one after the other. Not owned; the unit's own unless a class
        installs another. */
    CAMutex* mAUMutex = &mUnitMutex;
    HostCallbackInfo mHostCallbackInfo{};
    CFStringRef mContextName = nullptr;

private:
    /** Counts the starts and ends of initialisations and clean-ups: odd while one runs. */
    std::atomic<UInt32> mLifecycleChanges{0};
    /** Render thread: the count when the outermost render in flight began. */
    UInt32 mRenderLifecycle = 0;

    /** Brackets DoInitialize and DoCleanup: renders that overlap them answer
        kAudioUnitErr_Uninitialized instead of mixing what they found with what changed. */
    class LifecycleChange;
    /** A render from its start to its end. */
    class RenderInFlight;

    /** Which element holds the stream format of a scope and element. */
    AUIOElement& StreamFormatElement(AudioUnitScope inScope, AudioUnitElement inElement);
    /** The scope and element checks of the property table; the element check answers
        kAudioUnitErr_InvalidElement, a bad scope throws kAudioUnitErr_InvalidScope. */
    OSStatus CheckElementExists(AudioUnitScope inScope, AudioUnitElement inElement);
    OSStatus SetStreamFormatProperty(AudioUnitScope inScope, AudioUnitElement inElement,
                                     const CAStreamBasicDescription& inNewFormat);
    OSStatus SetHostCallbacks(AudioUnitElement inElement, const void* inData, UInt32 inDataSize);
    OSStatus SetPresentPreset(AudioUnitElement inElement, const AUPreset& inPreset);
    OSStatus SetExternalBuffer(AudioUnitScope inScope, AudioUnitElement inElement,
                               const AudioUnitExternalBuffer& inBuffer);

    /** The request checks of DoRender before any rendering. */
    OSStatus CheckRenderRequest(UInt32 inBusNumber, UInt32 inNumberFrames, AudioBufferList& ioData,
                                AUIOElement*& outOutput, AUIOElement::RenderPin& outputPin);
    void CallRenderNotifications(AudioUnitRenderActionFlags flags,
                                 const AudioTimeStamp& inTimeStamp, UInt32 inBusNumber,
                                 UInt32 inNumberFrames, AudioBufferList& ioData);
    /** Keeps the first error until the host reads it, and tells the listeners of property 22. */
    void RecordRenderError(OSStatus inError);
};
