// The host's diagnostics.
#pragma once

#include "hosts/aax/component/AAX_Errors.h"

class AAX_IHostServices
{
public:
    virtual ~AAX_IHostServices() = default;
    virtual AAX_Result HandleAssertFailure(const char* file, int32_t line, const char* note) = 0;
    virtual AAX_Result Trace(int32_t priority, const char* message) = 0;
};
