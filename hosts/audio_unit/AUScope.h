// One scope of a unit (global, input, output, group): the elements it owns, addressed by
// index, its share of the saved parameter records and the names of its elements.
#pragma once

#include "hosts/audio_unit/AUElement.h"

#include <memory>
#include <vector>

class AUBase;
class AUIOElement;

/** Stands in for a scope's element vector when a unit wants to manage the elements itself. */
class AUScopeDelegate
{
public:
    virtual ~AUScopeDelegate() = default;

    void Initialize(AUBase* creator, AudioUnitScope scope, UInt32 numElements)
    {
        mCreator = creator;
        mScope = scope;
        SetNumberOfElements(numElements);
    }

    virtual void SetNumberOfElements(UInt32 numElements) = 0;
    virtual UInt32 GetNumberOfElements() = 0;
    virtual AUElement* GetElement(UInt32 elementIndex) = 0;

protected:
    AUBase* mCreator = nullptr;
    AudioUnitScope mScope = 0;
};

class AUScope
{
public:
    AUScope() = default;
    ~AUScope();

    /** Called once by the unit when it creates the scope's elements. */
    void Initialize(AUBase* creator, AudioUnitScope scope, UInt32 numElements);
    /** Grows through the unit's element factory, shrinks by deleting from the end. */
    void SetNumberOfElements(UInt32 numElements);
    UInt32 GetNumberOfElements() const;

    /** Null when there is no such element. */
    AUElement* GetElement(UInt32 elementIndex) const;
    /** Throws kAudioUnitErr_InvalidElement when there is no such element. */
    AUElement* SafeGetElement(UInt32 elementIndex) const;
    /** Throws kAudioUnitErr_InvalidElement when there is no such element or it has no I/O. */
    AUIOElement* GetIOElement(UInt32 elementIndex) const;

    AudioUnitScope GetScope() const { return mScope; }
    void SetDelegate(AUScopeDelegate* inDelegate) { mDelegate = inDelegate; }

    bool HasElementWithName() const;
    /** Adds, under this scope's number as text, a dictionary of element index text to name;
        adds nothing when no element has a name, or when memory runs out (std::bad_alloc). */
    void AddElementNamesToDict(CFMutableDictionaryRef inNameDict) const;
    /** Names existing elements from a dictionary of index text to name, skipping entries that
        are not a string name under a decimal index of an element. Never adds elements, so it
        answers false. */
    bool RestoreElementNames(CFDictionaryRef inNameDict) const;

    /** Appends a record for each element that has parameters. */
    void SaveState(CFMutableDataRef data) const;
    /** Reads the record that continues at `state`, just after its scope word, and sets its
        pairs on the element, or skips them when the element does not exist. Answers where the
        next record starts; a record that runs past `end` throws
        kAudioUnitErr_InvalidPropertyValue before anything is set. */
    const UInt8* RestoreState(const UInt8* state, const UInt8* end) const;

    AUScope(const AUScope&) = delete;
    AUScope& operator=(const AUScope&) = delete;

private:
    AUBase* mCreator = nullptr;
    AudioUnitScope mScope = 0;
    std::vector<std::unique_ptr<AUElement>> mElements;
    AUScopeDelegate* mDelegate = nullptr;
};
