// The root of every unit: the platform handle of one instance and how it was opened, the
// Component Manager's own selectors at the end of the dispatch chain, the unit's component
// description, and the Component Manager's per-instance storage. Beside it, the process-wide
// type of the next constructed instance and the lock held while a unit is constructed.
#pragma once

#include "platform/AudioUnitTypes.h"

#include <pthread.h>

class ComponentBase
{
public:
    enum EInstanceType : UInt32
    {
        /** Opened through the Component Manager entry. */
        kComponentMgrInstance = 0,
        /** Opened through the AudioComponent factory's plug-in block. */
        kAudioComponentInstance = 1,
    };

    /** The type the next constructed unit takes; guarded by ComponentInitLocker. */
    static EInstanceType sNewInstanceType;

    /** Looks the description up once, so that the one-time lookups of the platform functions
        happen under the construction lock. */
    explicit ComponentBase(AudioComponentInstance inInstance);
    virtual ~ComponentBase() = default;

    virtual void PostConstructor() {}
    virtual void PreDestructor() {}
    virtual OSStatus Version() { return 1; }

    /** The end of the Component Manager dispatch chain: version, can-do and close. A can-do
        block without its argument answers paramErr. */
    static OSStatus ComponentEntryDispatch(ComponentParameters* params, ComponentBase* This);
    /** The selector a can-do call asks about, or 0 for any other call and for a can-do block
        without its argument. */
    static SInt16 GetSelectorForCanDo(const ComponentParameters* params);

    /** Five zero words when the platform cannot tell. */
    AudioComponentDescription GetComponentDescription() const;

    /** Null when the Component Manager is absent. */
    static void* CMgr_GetComponentInstanceStorage(ComponentInstance inInstance);
    /** Does nothing when the Component Manager is absent. */
    static void CMgr_SetComponentInstanceStorage(ComponentInstance inInstance, void* inStorage);

    AudioComponentInstance GetComponentInstance() const { return mComponentInstance; }
    EInstanceType GetInstanceType() const { return mInstanceType; }

    ComponentBase(const ComponentBase&) = delete;
    ComponentBase& operator=(const ComponentBase&) = delete;

protected:
    const AudioComponentInstance mComponentInstance;
    const EInstanceType mInstanceType;
};

/** Held around every construction of a unit: serialises constructions process-wide (it is
    recursive, so a construction may construct another) and puts sNewInstanceType back as it
    found it when released, also when the construction fails. */
class ComponentInitLocker
{
public:
    ComponentInitLocker();
    ~ComponentInitLocker();

    ComponentInitLocker(const ComponentInitLocker&) = delete;
    ComponentInitLocker& operator=(const ComponentInitLocker&) = delete;

private:
    static void InitComponentInitLocker();

    static pthread_mutex_t sComponentOpenMutex;
    static pthread_once_t sOnce;

    const ComponentBase::EInstanceType mPreviousNewInstanceType;
};
