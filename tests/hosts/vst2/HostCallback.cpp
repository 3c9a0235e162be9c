#include "tests/hosts/vst2/HostCallback.h"

#include <cstdio>
#include <cstring>

namespace
{
std::atomic<HostContext*> pendingContext{nullptr};

constexpr char kHostVendor[] = "Veridane tests";
constexpr char kHostProduct[] = "veridane_vst2_host";
constexpr intptr_t kHostVendorVersion = 1;
/** Buffers of the vendor and product opcodes hold 64 characters and a terminator. */
constexpr size_t kHostStringCapacity = 65;

HostContext* contextFor(AEffect* effect)
{
    if (effect != nullptr && effect->user != nullptr)
        return static_cast<HostContext*>(effect->user);
    return pendingContext.load();
}

intptr_t copyHostString(void* ptr, const char* text)
{
    if (ptr == nullptr)
        return 0;
    std::snprintf(static_cast<char*>(ptr), kHostStringCapacity, "%s", text);
    return 1;
}
} // namespace

void setPendingHostContext(HostContext* context)
{
    pendingContext.store(context);
}

intptr_t hostCallback(AEffect* effect, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                      float opt)
{
    HostContext* context = contextFor(effect);
    if (context != nullptr && context->verbose)
        std::fprintf(stderr, "host callback: opcode %d index %d value %ld opt %g\n", opcode, index,
                     long(value), double(opt));

    switch (opcode)
    {
    case audioMasterVersion:
        return kHostVstVersion;
    case audioMasterAutomate:
        if (context != nullptr)
            ++context->automateCalls;
        return 0;
    case audioMasterBeginEdit:
        if (context != nullptr)
            ++context->beginEditCalls;
        return 1;
    case audioMasterEndEdit:
        if (context != nullptr)
            ++context->endEditCalls;
        return 1;
    case audioMasterGetSampleRate:
        return context != nullptr ? intptr_t(context->sampleRate) : 0;
    case audioMasterGetBlockSize:
        return context != nullptr ? intptr_t(context->blockSize) : 0;
    case audioMasterGetVendorString:
        return copyHostString(ptr, kHostVendor);
    case audioMasterGetProductString:
        return copyHostString(ptr, kHostProduct);
    case audioMasterGetVendorVersion:
        return kHostVendorVersion;
    case audioMasterUpdateDisplay:
    case audioMasterIOChanged:
        return 1;
    default:
        // No time info, no window resizing, no can-do: a plain offline host.
        return 0;
    }
}
