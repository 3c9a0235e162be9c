// The CoreFoundation calls for a library that must load where no CoreFoundation is: each call goes
// to the one the process already holds (a host that links the stand-in), found by name on the
// first call and kept for the life of the process. So a plug-in bundle names no CoreFoundation
// library and needs no search path to one, and still shares one set of objects and one live count
// with its host. A process without one, or with only part of one, binds nothing: every call then
// answers null, 0 or false, and VeridaneCFPresent false.
#include "platform/CoreFoundation.h"
#include "platform/corefoundation/CallBackRecords.h"

#include <dlfcn.h>

#include <type_traits>

// Ours are told apart by address and replaced with the process's when a call passes them on.
const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks{1};
const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks{1};
const CFArrayCallBacks kCFTypeArrayCallBacks{1};

namespace
{
#define VERIDANE_CF_FUNCTIONS(X)                                                                   \
    X(CFRetain)                                                                                    \
    X(CFRelease)                                                                                   \
    X(CFGetRetainCount)                                                                            \
    X(CFGetTypeID)                                                                                 \
    X(CFEqual)                                                                                     \
    X(CFStringGetTypeID)                                                                           \
    X(CFNumberGetTypeID)                                                                           \
    X(CFDataGetTypeID)                                                                             \
    X(CFDictionaryGetTypeID)                                                                       \
    X(CFArrayGetTypeID)                                                                            \
    X(CFStringCreateWithCString)                                                                   \
    X(CFStringGetCString)                                                                          \
    X(VeridaneCFConstantString)                                                                    \
    X(CFNumberCreate)                                                                              \
    X(CFNumberGetValue)                                                                            \
    X(CFDataCreate)                                                                                \
    X(CFDataCreateMutable)                                                                         \
    X(CFDataAppendBytes)                                                                           \
    X(CFDataGetLength)                                                                             \
    X(CFDataGetBytePtr)                                                                            \
    X(CFDictionaryCreateMutable)                                                                   \
    X(CFDictionaryCreateMutableCopy)                                                               \
    X(CFDictionaryGetCount)                                                                        \
    X(CFDictionaryContainsKey)                                                                     \
    X(CFDictionaryGetValue)                                                                        \
    X(CFDictionaryGetKeysAndValues)                                                                \
    X(CFDictionarySetValue)                                                                        \
    X(CFDictionaryAddValue)                                                                        \
    X(CFDictionaryRemoveValue)                                                                     \
    X(CFArrayCreateMutable)                                                                        \
    X(CFArrayAppendValue)                                                                          \
    X(CFArrayGetCount)                                                                             \
    X(CFArrayGetValueAtIndex)                                                                      \
    X(VeridaneCFGetLiveObjectCount)

/** The process's CoreFoundation: all of it, or nothing. */
struct ProcessCF
{
#define VERIDANE_CF_POINTER(name) decltype(&::name) name = nullptr;
    VERIDANE_CF_FUNCTIONS(VERIDANE_CF_POINTER)
#undef VERIDANE_CF_POINTER
    const CFDictionaryKeyCallBacks* dictionaryKeyCallBacks = nullptr;
    const CFDictionaryValueCallBacks* dictionaryValueCallBacks = nullptr;
    const CFArrayCallBacks* arrayCallBacks = nullptr;
};

/** Our own definitions are hidden, so the lookup never finds them. */
template <typename Pointer> bool find(Pointer& out, const char* name)
{
    void* const found = dlsym(RTLD_DEFAULT, name);
    out = reinterpret_cast<Pointer>(found);
    return found != nullptr;
}

ProcessCF lookUp()
{
    ProcessCF found;
    bool complete = true;
#define VERIDANE_CF_FIND(name) complete = find(found.name, #name) && complete;
    VERIDANE_CF_FUNCTIONS(VERIDANE_CF_FIND)
#undef VERIDANE_CF_FIND
    complete = find(found.dictionaryKeyCallBacks, "kCFTypeDictionaryKeyCallBacks") && complete;
    complete = find(found.dictionaryValueCallBacks, "kCFTypeDictionaryValueCallBacks") && complete;
    complete = find(found.arrayCallBacks, "kCFTypeArrayCallBacks") && complete;
    return complete ? found : ProcessCF{};
}

const ProcessCF& processCF()
{
    static const ProcessCF bound = lookUp();
    return bound;
}

/** The process's function with these arguments; without it, the empty answer. */
template <auto ProcessCF::*function, typename... Args> auto callProcess(Args... args)
{
    const auto call = processCF().*function;
    if (call == nullptr)
    {
        using Result = decltype(call(args...));
        if constexpr (std::is_void_v<Result>)
            return;
        else
            return Result{};
    }
    return call(args...);
}

/** A record of ours becomes the process's; any other address (null included) passes as it is. */
template <typename Record>
const Record* processRecord(const Record* given, const Record& ours, const Record* theirs)
{
    return given == &ours ? theirs : given;
}
} // namespace

CFTypeRef CFRetain(CFTypeRef object)
{
    return callProcess<&ProcessCF::CFRetain>(object);
}

void CFRelease(CFTypeRef object)
{
    callProcess<&ProcessCF::CFRelease>(object);
}

CFIndex CFGetRetainCount(CFTypeRef object)
{
    return callProcess<&ProcessCF::CFGetRetainCount>(object);
}

CFTypeID CFGetTypeID(CFTypeRef object)
{
    return callProcess<&ProcessCF::CFGetTypeID>(object);
}

Boolean CFEqual(CFTypeRef a, CFTypeRef b)
{
    return callProcess<&ProcessCF::CFEqual>(a, b);
}

CFTypeID CFStringGetTypeID(void)
{
    return callProcess<&ProcessCF::CFStringGetTypeID>();
}

CFTypeID CFNumberGetTypeID(void)
{
    return callProcess<&ProcessCF::CFNumberGetTypeID>();
}

CFTypeID CFDataGetTypeID(void)
{
    return callProcess<&ProcessCF::CFDataGetTypeID>();
}

CFTypeID CFDictionaryGetTypeID(void)
{
    return callProcess<&ProcessCF::CFDictionaryGetTypeID>();
}

CFTypeID CFArrayGetTypeID(void)
{
    return callProcess<&ProcessCF::CFArrayGetTypeID>();
}

CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text,
                                      CFStringEncoding encoding)
{
    return callProcess<&ProcessCF::CFStringCreateWithCString>(allocator, text, encoding);
}

Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize,
                           CFStringEncoding encoding)
{
    return callProcess<&ProcessCF::CFStringGetCString>(string, buffer, bufferSize, encoding);
}

CFStringRef VeridaneCFConstantString(const char* text)
{
    return callProcess<&ProcessCF::VeridaneCFConstantString>(text);
}

CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType type, const void* value)
{
    return callProcess<&ProcessCF::CFNumberCreate>(allocator, type, value);
}

Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value)
{
    return callProcess<&ProcessCF::CFNumberGetValue>(number, type, value);
}

CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length)
{
    return callProcess<&ProcessCF::CFDataCreate>(allocator, bytes, length);
}

CFMutableDataRef CFDataCreateMutable(CFAllocatorRef allocator, CFIndex capacity)
{
    return callProcess<&ProcessCF::CFDataCreateMutable>(allocator, capacity);
}

void CFDataAppendBytes(CFMutableDataRef data, const UInt8* bytes, CFIndex length)
{
    callProcess<&ProcessCF::CFDataAppendBytes>(data, bytes, length);
}

CFIndex CFDataGetLength(CFDataRef data)
{
    return callProcess<&ProcessCF::CFDataGetLength>(data);
}

const UInt8* CFDataGetBytePtr(CFDataRef data)
{
    return callProcess<&ProcessCF::CFDataGetBytePtr>(data);
}

CFMutableDictionaryRef CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                                 const CFDictionaryKeyCallBacks* keyCallBacks,
                                                 const CFDictionaryValueCallBacks* valueCallBacks)
{
    const ProcessCF& process = processCF();
    return callProcess<&ProcessCF::CFDictionaryCreateMutable>(
        allocator, capacity,
        processRecord(keyCallBacks, kCFTypeDictionaryKeyCallBacks, process.dictionaryKeyCallBacks),
        processRecord(valueCallBacks, kCFTypeDictionaryValueCallBacks,
                      process.dictionaryValueCallBacks));
}

CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                                     CFDictionaryRef dictionary)
{
    return callProcess<&ProcessCF::CFDictionaryCreateMutableCopy>(allocator, capacity, dictionary);
}

CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary)
{
    return callProcess<&ProcessCF::CFDictionaryGetCount>(dictionary);
}

Boolean CFDictionaryContainsKey(CFDictionaryRef dictionary, const void* key)
{
    return callProcess<&ProcessCF::CFDictionaryContainsKey>(dictionary, key);
}

const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key)
{
    return callProcess<&ProcessCF::CFDictionaryGetValue>(dictionary, key);
}

void CFDictionaryGetKeysAndValues(CFDictionaryRef dictionary, const void** keys,
                                  const void** values)
{
    callProcess<&ProcessCF::CFDictionaryGetKeysAndValues>(dictionary, keys, values);
}

void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key, const void* value)
{
    callProcess<&ProcessCF::CFDictionarySetValue>(dictionary, key, value);
}

void CFDictionaryAddValue(CFMutableDictionaryRef dictionary, const void* key, const void* value)
{
    callProcess<&ProcessCF::CFDictionaryAddValue>(dictionary, key, value);
}

void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void* key)
{
    callProcess<&ProcessCF::CFDictionaryRemoveValue>(dictionary, key);
}

CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                       const CFArrayCallBacks* callBacks)
{
    return callProcess<&ProcessCF::CFArrayCreateMutable>(
        allocator, capacity,
        processRecord(callBacks, kCFTypeArrayCallBacks, processCF().arrayCallBacks));
}

void CFArrayAppendValue(CFMutableArrayRef array, const void* value)
{
    callProcess<&ProcessCF::CFArrayAppendValue>(array, value);
}

CFIndex CFArrayGetCount(CFArrayRef array)
{
    return callProcess<&ProcessCF::CFArrayGetCount>(array);
}

const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index)
{
    return callProcess<&ProcessCF::CFArrayGetValueAtIndex>(array, index);
}

CFIndex VeridaneCFGetLiveObjectCount(void)
{
    return callProcess<&ProcessCF::VeridaneCFGetLiveObjectCount>();
}

Boolean VeridaneCFPresent(void)
{
    return processCF().CFRetain != nullptr;
}
