#include "hosts/aax/entry/AAX_HostServices.h"

#include "hosts/aax/proxies/AAX_VHostServices.h"

#include <cstdarg>
#include <cstdio>

namespace
{
// Start-up and shutdown never overlap each other or a trace, so a plain pointer serves.
AAX_VHostServices* gHostServices = nullptr;

constexpr std::size_t kTraceBufferSize = 512;
} // namespace

void AAX_SetHostServices(IACFUnknown* hostObject)
{
    if (gHostServices == nullptr && hostObject != nullptr)
    {
        gHostServices = new AAX_VHostServices(hostObject);
    }
    else if (gHostServices != nullptr && hostObject == nullptr)
    {
        delete gHostServices;
        gHostServices = nullptr;
    }
}

void AAX_Trace(int32_t priority, const char* format, ...)
{
    if (gHostServices == nullptr || format == nullptr)
        return;
    char text[kTraceBufferSize];
    va_list arguments;
    va_start(arguments, format);
    const int length = std::vsnprintf(text, sizeof text, format, arguments);
    va_end(arguments);
    if (length < 0)
        return;
    gHostServices->Trace(priority, text);
}
