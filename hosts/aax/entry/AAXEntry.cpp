// The exported entry points. Each checks its out pointer, runs its inner routine and keeps
// every exception on this side of the host.
#include "hosts/aax/entry/AAX_Exports.h"

#include "hosts/aax/component/AAX_Errors.h"
#include "hosts/aax/component/CACFUnknown.h"
#include "hosts/aax/component/GuardedCall.h"
#include "hosts/aax/entry/AAX_HostServices.h"
#include "hosts/aax/proxies/AAX_VCollection.h"

namespace
{
constexpr uint64_t kSDKVersion = 0x00000201007756BFull;

ACFResult AAXRegisterPlugin(IACFUnknown* hostObject, void** outDefinition)
{
    // Destroying the collection destroys every proxy made while describing and releases what
    // they hold; the host keeps only what the forwarded calls gave it.
    AAX_VCollection collection(hostObject);
    const int32_t described = GetEffectDescriptions(&collection);
    if (described != AAX_SUCCESS)
        return described;

    *outDefinition = nullptr;
    IACFUnknown* const hostCollection = collection.GetIUnknown();
    if (hostCollection == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    // The host's own refusal code is not passed on.
    const ACFResult answer = ACFHost::Unknown::QueryInterface::call(
        hostCollection, &ACFHost::kPluginDefinitionIID, outDefinition);
    return answer == AAX_SUCCESS ? AAX_SUCCESS : AAX_ERROR_NULL_OBJECT;
}

ACFResult AAXRegisterComponent(void** outComponent)
{
    *outComponent = nullptr;
    return AAX_SUCCESS;
}

// Effects are created through the creation functions their description registers instead.
ACFResult AAXGetClassFactory(void** outFactory)
{
    *outFactory = nullptr;
    return AAX_ERROR_UNIMPLEMENTED;
}

ACFResult AAXCanUnloadNow()
{
    return static_cast<ACFResult>(CACFUnknown::GetActiveObjectCount());
}

ACFResult AAXStartup(IACFUnknown* hostObject)
{
    AAX_SetHostServices(hostObject);
    return AAX_SUCCESS;
}

ACFResult AAXShutdown()
{
    AAX_SetHostServices(nullptr);
    return AAX_SUCCESS;
}

ACFResult AAXGetSDKVersion(uint64_t* outVersion)
{
    *outVersion = kSDKVersion;
    return AAX_SUCCESS;
}
} // namespace

extern "C" ACFResult ACFRegisterPlugin(IACFUnknown* hostObject, void** outDefinition)
{
    if (outDefinition == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall([&] { return AAXRegisterPlugin(hostObject, outDefinition); });
}

extern "C" ACFResult ACFRegisterComponent(IACFUnknown*, uint32_t, void** outComponent)
{
    if (outComponent == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall([&] { return AAXRegisterComponent(outComponent); });
}

extern "C" ACFResult ACFGetClassFactory(IACFUnknown*, const ACFGuid&, const ACFGuid&,
                                        void** outFactory)
{
    if (outFactory == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall([&] { return AAXGetClassFactory(outFactory); });
}

extern "C" ACFResult ACFCanUnloadNow(IACFUnknown*)
{
    return guardedCall([] { return AAXCanUnloadNow(); });
}

extern "C" ACFResult ACFStartup(IACFUnknown* hostObject)
{
    return guardedCall([&] { return AAXStartup(hostObject); });
}

extern "C" ACFResult ACFShutdown(IACFUnknown*)
{
    return guardedCall([] { return AAXShutdown(); });
}

extern "C" ACFResult ACFGetSDKVersion(uint64_t* outVersion)
{
    if (outVersion == nullptr)
        return AAX_ERROR_NULL_OBJECT;
    return guardedCall([&] { return AAXGetSDKVersion(outVersion); });
}
