#include "hosts/aax/proxies/AAX_VHostServices.h"

using namespace ACFHost;

AAX_VHostServices::AAX_VHostServices(IACFUnknown* hostObject)
    : mServices(
          createHostComponent(hostObject, HostServices::kComponentID, HostServices::kV1, nullptr)
              .v1)
{
}

AAX_Result AAX_VHostServices::HandleAssertFailure(const char* file, int32_t line, const char* note)
{
    return forwardOr<HostServices::HandleAssertFailure>(kMissingV1, mServices, file, line, note);
}

AAX_Result AAX_VHostServices::Trace(int32_t priority, const char* message)
{
    return forwardOr<HostServices::Trace>(kMissingV1, mServices, priority, message);
}
