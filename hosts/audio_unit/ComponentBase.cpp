#include "hosts/audio_unit/ComponentBase.h"

#include "hosts/audio_unit/ComponentParameterWords.h"
#include "hosts/audio_unit/PlatformFrameworks.h"

#include <dlfcn.h>

ComponentBase::EInstanceType ComponentBase::sNewInstanceType = ComponentBase::kComponentMgrInstance;

namespace
{
//==================================================================================================
// Platform functions, looked up once per process. Every one may be missing: the answers then
// fall back to a zeroed description and no instance storage.

template <typename Function> Function LookUp(void* framework, const char* name)
{
    return reinterpret_cast<Function>(dlsym(framework, name));
}

struct AudioComponentFunctions
{
    AudioComponentInstanceGetComponentProc instanceGetComponent = nullptr;
    AudioComponentGetDescriptionProc getDescription = nullptr;
};

AudioComponentFunctions gAudioComponent;
pthread_once_t gAudioComponentOnce = PTHREAD_ONCE_INIT;

void AudioComponentInitOnce()
{
    // Never closed: the functions stay in use for the life of the process.
    void* framework = dlopen(kAudioUnitFrameworkPath, RTLD_LAZY | RTLD_LOCAL);
    if (framework == nullptr)
        return;
    gAudioComponent.instanceGetComponent = LookUp<AudioComponentInstanceGetComponentProc>(
        framework, "AudioComponentInstanceGetComponent");
    if (gAudioComponent.instanceGetComponent != nullptr)
        gAudioComponent.getDescription =
            LookUp<AudioComponentGetDescriptionProc>(framework, "AudioComponentGetDescription");
}

struct ComponentManagerFunctions
{
    GetComponentInstanceStorageProc getInstanceStorage = nullptr;
    GetComponentInfoProc getInfo = nullptr;
    SetComponentInstanceStorageProc setInstanceStorage = nullptr;
};

ComponentManagerFunctions gComponentManager;
pthread_once_t gComponentManagerOnce = PTHREAD_ONCE_INIT;

void CSInitOnce()
{
    void* framework = dlopen(kCoreServicesFrameworkPath, RTLD_LAZY | RTLD_LOCAL);
    if (framework == nullptr)
        return;
    gComponentManager.getInstanceStorage =
        LookUp<GetComponentInstanceStorageProc>(framework, "GetComponentInstanceStorage");
    gComponentManager.getInfo = LookUp<GetComponentInfoProc>(framework, "GetComponentInfo");
    gComponentManager.setInstanceStorage =
        LookUp<SetComponentInstanceStorageProc>(framework, "SetComponentInstanceStorage");
}

const AudioComponentFunctions& TheAudioComponentFunctions()
{
    pthread_once(&gAudioComponentOnce, AudioComponentInitOnce);
    return gAudioComponent;
}

const ComponentManagerFunctions& TheComponentManagerFunctions()
{
    pthread_once(&gComponentManagerOnce, CSInitOnce);
    return gComponentManager;
}
} // namespace

//==================================================================================================

ComponentBase::ComponentBase(AudioComponentInstance inInstance)
    : mComponentInstance(inInstance), mInstanceType(sNewInstanceType)
{
    (void)GetComponentDescription();
}

OSStatus ComponentBase::ComponentEntryDispatch(ComponentParameters* params, ComponentBase* This)
{
    if (params == nullptr || This == nullptr)
        return paramErr;

    switch (params->what)
    {
    case kComponentVersionSelect:
        return This->Version();

    case kComponentCanDoSelect:
        if (!HoldsArguments(*params, 1))
            return paramErr;
        switch (GetSelectorForCanDo(params))
        {
        case kComponentOpenSelect:
        case kComponentCloseSelect:
        case kComponentCanDoSelect:
        case kComponentVersionSelect:
            return 1;
        default:
            return 0;
        }

    case kComponentCloseSelect:
        // The host lets go of the instance after this call, so the object goes even when its
        // clean-up fails; the failure still reaches the entry's catch.
        try
        {
            This->PreDestructor();
        }
        catch (...)
        {
            delete This;
            throw;
        }
        delete This;
        return noErr;

    default:
        return badComponentSelector;
    }
}

SInt16 ComponentBase::GetSelectorForCanDo(const ComponentParameters* params)
{
    if (params == nullptr || params->what != kComponentCanDoSelect || !HoldsArguments(*params, 1))
        return 0;
    // The asked selector is the first argument, the word after the instance.
    return SInt16(UInt16(ParameterWord(*params, 1) & 0xFFFF));
}

AudioComponentDescription ComponentBase::GetComponentDescription() const
{
    AudioComponentDescription description{};

    if (mInstanceType == kAudioComponentInstance)
    {
        const auto& functions = TheAudioComponentFunctions();
        if (functions.instanceGetComponent != nullptr && functions.getDescription != nullptr)
        {
            AudioComponent component = functions.instanceGetComponent(mComponentInstance);
            if (component == nullptr || functions.getDescription(component, &description) != noErr)
                description = {};
            return description;
        }
    }

    const auto& functions = TheComponentManagerFunctions();
    if (functions.getInfo == nullptr)
        return description;
    ComponentDescription info{};
    if (functions.getInfo(reinterpret_cast<Component>(mComponentInstance), &info, nullptr, nullptr,
                          nullptr) != noErr)
        return description;
    return {info.componentType, info.componentSubType, info.componentManufacturer,
            info.componentFlags, info.componentFlagsMask};
}

void* ComponentBase::CMgr_GetComponentInstanceStorage(ComponentInstance inInstance)
{
    const auto& functions = TheComponentManagerFunctions();
    return functions.getInstanceStorage != nullptr ? functions.getInstanceStorage(inInstance)
                                                   : nullptr;
}

void ComponentBase::CMgr_SetComponentInstanceStorage(ComponentInstance inInstance, void* inStorage)
{
    const auto& functions = TheComponentManagerFunctions();
    if (functions.setInstanceStorage != nullptr)
        functions.setInstanceStorage(inInstance, inStorage);
}

//==================================================================================================

pthread_mutex_t ComponentInitLocker::sComponentOpenMutex = PTHREAD_MUTEX_INITIALIZER;
pthread_once_t ComponentInitLocker::sOnce = PTHREAD_ONCE_INIT;

namespace
{
ComponentBase::EInstanceType LockAndRemember(pthread_once_t& once, void (*init)(),
                                             pthread_mutex_t& mutex)
{
    pthread_once(&once, init);
    pthread_mutex_lock(&mutex);
    return ComponentBase::sNewInstanceType;
}
} // namespace

ComponentInitLocker::ComponentInitLocker()
    : mPreviousNewInstanceType(LockAndRemember(sOnce, InitComponentInitLocker, sComponentOpenMutex))
{
}

ComponentInitLocker::~ComponentInitLocker()
{
    ComponentBase::sNewInstanceType = mPreviousNewInstanceType;
    pthread_mutex_unlock(&sComponentOpenMutex);
}

void ComponentInitLocker::InitComponentInitLocker()
{
    // The static initialiser gives a plain mutex; a construction may construct another unit
    // on the same thread, so it becomes recursive before its first use.
    pthread_mutexattr_t attributes;
    pthread_mutexattr_init(&attributes);
    pthread_mutexattr_settype(&attributes, PTHREAD_MUTEX_RECURSIVE);
    pthread_mutex_init(&sComponentOpenMutex, &attributes);
    pthread_mutexattr_destroy(&attributes);
}
