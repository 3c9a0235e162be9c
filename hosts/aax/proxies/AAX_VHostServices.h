// Host-services proxy: the host's diagnostics, installed at start-up.
#pragma once

#include "hosts/aax/proxies/AAX_IHostServices.h"
#include "hosts/aax/proxies/HostInterfaceRef.h"

class AAX_VHostServices final : public AAX_IHostServices
{
public:
    /** Creates the host's services component through the host object, which may be null. */
    explicit AAX_VHostServices(IACFUnknown* hostObject);

    AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note) override;
    AAX_Result Trace(int32_t priority, const char* message) override;

private:
    HostInterfaceRef mServices;
};
