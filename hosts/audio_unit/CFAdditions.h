// Building CoreFoundation containers when memory may run out. The platform's calls say nothing
// then: a create answers null, and a dictionary or data object that cannot grow drops the
// addition. These check each step through the platform's own calls and throw std::bad_alloc, so
// that whoever builds a container releases what it made (each reference is owned) and refuses.
#pragma once

#include "platform/CoreFoundation.h"

#include <memory>
#include <new>
#include <type_traits>

struct CFReleaser
{
    void operator()(const void* object) const { CFRelease(object); }
};

/** One reference, released when the owner goes. */
template <typename Ref> using CFOwned = std::unique_ptr<std::remove_pointer_t<Ref>, CFReleaser>;

/** Takes over what a create answered; its null means memory ran out. */
template <typename Ref> CFOwned<Ref> OwnCreated(Ref created)
{
    if (created == nullptr)
        throw std::bad_alloc();
    return CFOwned<Ref>(created);
}

/** Adds a key the dictionary does not hold yet (the dictionary retains key and value). */
inline void AddNewKey(CFMutableDictionaryRef dictionary, const void* key, const void* value)
{
    const CFIndex before = CFDictionaryGetCount(dictionary);
    CFDictionarySetValue(dictionary, key, value);
    if (CFDictionaryGetCount(dictionary) != before + 1)
        throw std::bad_alloc();
}

inline void AppendAllBytes(CFMutableDataRef data, const UInt8* bytes, CFIndex length)
{
    const CFIndex before = CFDataGetLength(data);
    CFDataAppendBytes(data, bytes, length);
    if (CFDataGetLength(data) != before + length)
        throw std::bad_alloc();
}
