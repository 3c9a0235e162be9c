// The base of every Audio Unit: its scopes and their elements, the element factory, and the
// state the elements read (initialisation, maximum frames per slice, API version).
#pragma once

#include "hosts/audio_unit/AUScope.h"
#include "hosts/audio_unit/ComponentBase.h"

#include <atomic>
#include <memory>

class AUIOElement;
class AUInputElement;
class AUOutputElement;

class AUBase : public ComponentBase
{
public:
    /** Maximum frames per slice until a host sets its own. */
    static constexpr UInt32 kDefaultMaxFramesPerSlice = 1156;

    /** Builds the global scope with its one element; the buses follow in PostConstructor. */
    AUBase(AudioComponentInstance inInstance, UInt32 numInputElements, UInt32 numOutputElements,
           UInt32 numGroupElements = 0);
    ~AUBase() override;

    void PostConstructor() override { CreateElements(); }
    virtual void CreateExtendedElements() {}
    /** Global, group and part scopes get a plain element, the input scope an input bus, the
        output scope an output bus; any other scope throws kAudioUnitErr_InvalidScope. */
    virtual std::unique_ptr<AUElement> CreateElement(AudioUnitScope scope,
                                                     AudioUnitElement element);
    /** Scopes beyond the four built-in ones; null when the unit has none. */
    virtual AUScope* GetScopeExtended(AudioUnitScope) { return nullptr; }

    /** Creates the input, output and group elements once. */
    void CreateElements();

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

    /** Read by the render thread: set only after the buffers exist. */
    bool IsInitialized() const { return mInitialized.load(std::memory_order_acquire); }
    bool HasBegunInitializing() const { return mHasBegunInitializing; }
    UInt32 GetMaxFramesPerSlice() const { return mMaxFramesPerSlice; }
    UInt8 AudioUnitAPIVersion() const { return mAudioUnitAPIVersion; }

protected:
    bool mElementsCreated = false;
    std::atomic<bool> mInitialized{false};
    bool mHasBegunInitializing = false;
    UInt8 mAudioUnitAPIVersion = 2;
    const UInt32 mInitNumInputEls;
    const UInt32 mInitNumOutputEls;
    const UInt32 mInitNumGroupEls;
    /** Global, input, output, group: destroyed in the reverse order. */
    AUScope mScopes[4];
    UInt32 mMaxFramesPerSlice = kDefaultMaxFramesPerSlice;
};
