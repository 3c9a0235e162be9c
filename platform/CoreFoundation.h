// A small reference-counted object library in the shape of the platform's CoreFoundation: the
// strings, numbers, data, dictionaries and arrays of an Audio Unit's saved state. Objects follow
// the platform's ownership rule: what a Create or Copy function returns belongs to the caller and
// is given back with CFRelease; what a Get function returns is borrowed.
//
// Beside the platform's functions, VeridaneCFGetLiveObjectCount tells tests how many objects are
// alive, so that every test can prove it gave back what it took.
#pragma once

#include "platform/MacTypes.h"

typedef const void* CFTypeRef;
typedef CFTypeRef CFPropertyListRef;
typedef unsigned long CFTypeID;
typedef long CFIndex;
typedef UInt32 CFStringEncoding;
typedef long CFNumberType;

struct OpaqueCFAllocator;
struct OpaqueCFString;
struct OpaqueCFNumber;
struct OpaqueCFData;
struct OpaqueCFDictionary;
struct OpaqueCFArray;
struct OpaqueCFURL;

typedef const OpaqueCFAllocator* CFAllocatorRef;
typedef const OpaqueCFString* CFStringRef;
typedef const OpaqueCFNumber* CFNumberRef;
typedef const OpaqueCFData* CFDataRef;
typedef OpaqueCFData* CFMutableDataRef;
typedef const OpaqueCFDictionary* CFDictionaryRef;
typedef OpaqueCFDictionary* CFMutableDictionaryRef;
typedef const OpaqueCFArray* CFArrayRef;
typedef OpaqueCFArray* CFMutableArrayRef;
/** Only named: no URL is ever made here, a unit may hand one out. */
typedef const OpaqueCFURL* CFURLRef;

/** Only the default allocator exists. */
inline constexpr CFAllocatorRef kCFAllocatorDefault = nullptr;

enum : CFStringEncoding
{
    kCFStringEncodingASCII = 0x0600,
    kCFStringEncodingUTF8 = 0x08000100,
};

/** The two number kinds the saved state holds; numbers convert between them on reading. */
enum : CFNumberType
{
    kCFNumberSInt32Type = 3,
    kCFNumberFloat32Type = 5,
};

struct CFDictionaryKeyCallBacks;
struct CFDictionaryValueCallBacks;
struct CFArrayCallBacks;

extern "C"
{
    /** Dictionaries always hold their keys and values the way these callbacks say: retained,
        keys compared by content. */
    extern const CFDictionaryKeyCallBacks kCFTypeDictionaryKeyCallBacks;
    extern const CFDictionaryValueCallBacks kCFTypeDictionaryValueCallBacks;
    /** Arrays made with these retain their values; arrays made with none hold raw pointers. */
    extern const CFArrayCallBacks kCFTypeArrayCallBacks;

    // Every object ----------------------------------------------------------------------------
    CFTypeRef CFRetain(CFTypeRef object);
    void CFRelease(CFTypeRef object);
    CFIndex CFGetRetainCount(CFTypeRef object);
    CFTypeID CFGetTypeID(CFTypeRef object);
    /** Strings, numbers and data compare by content, other objects by identity. */
    Boolean CFEqual(CFTypeRef a, CFTypeRef b);

    CFTypeID CFStringGetTypeID(void);
    CFTypeID CFNumberGetTypeID(void);
    CFTypeID CFDataGetTypeID(void);
    CFTypeID CFDictionaryGetTypeID(void);
    CFTypeID CFArrayGetTypeID(void);

    // Strings ---------------------------------------------------------------------------------
    CFStringRef CFStringCreateWithCString(CFAllocatorRef allocator, const char* text,
                                          CFStringEncoding encoding);
    /** Copies the text with its terminating zero; false when it does not fit or cannot be
        written in the encoding. */
    Boolean CFStringGetCString(CFStringRef string, char* buffer, CFIndex bufferSize,
                               CFStringEncoding encoding);
    /** A process-wide string that is never freed; retain and release leave it alone. */
    CFStringRef VeridaneCFConstantString(const char* text);

    // Numbers ---------------------------------------------------------------------------------
    CFNumberRef CFNumberCreate(CFAllocatorRef allocator, CFNumberType type, const void* value);
    /** Writes the value in the asked kind; false when the kind is unknown or the conversion
        loses something (the converted value is still written). */
    Boolean CFNumberGetValue(CFNumberRef number, CFNumberType type, void* value);

    // Data ------------------------------------------------------------------------------------
    CFDataRef CFDataCreate(CFAllocatorRef allocator, const UInt8* bytes, CFIndex length);
    CFMutableDataRef CFDataCreateMutable(CFAllocatorRef allocator, CFIndex capacity);
    void CFDataAppendBytes(CFMutableDataRef data, const UInt8* bytes, CFIndex length);
    CFIndex CFDataGetLength(CFDataRef data);
    const UInt8* CFDataGetBytePtr(CFDataRef data);

    // Dictionaries ----------------------------------------------------------------------------
    CFMutableDictionaryRef
    CFDictionaryCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                              const CFDictionaryKeyCallBacks* keyCallBacks,
                              const CFDictionaryValueCallBacks* valueCallBacks);
    CFMutableDictionaryRef CFDictionaryCreateMutableCopy(CFAllocatorRef allocator, CFIndex capacity,
                                                         CFDictionaryRef dictionary);
    CFIndex CFDictionaryGetCount(CFDictionaryRef dictionary);
    Boolean CFDictionaryContainsKey(CFDictionaryRef dictionary, const void* key);
    const void* CFDictionaryGetValue(CFDictionaryRef dictionary, const void* key);
    /** Fills keys and values (each may be null) with count entries, in insertion order. */
    void CFDictionaryGetKeysAndValues(CFDictionaryRef dictionary, const void** keys,
                                      const void** values);
    /** Adds or replaces. */
    void CFDictionarySetValue(CFMutableDictionaryRef dictionary, const void* key,
                              const void* value);
    /** Adds only when the key is absent. */
    void CFDictionaryAddValue(CFMutableDictionaryRef dictionary, const void* key,
                              const void* value);
    void CFDictionaryRemoveValue(CFMutableDictionaryRef dictionary, const void* key);

    // Arrays ----------------------------------------------------------------------------------
    CFMutableArrayRef CFArrayCreateMutable(CFAllocatorRef allocator, CFIndex capacity,
                                           const CFArrayCallBacks* callBacks);
    void CFArrayAppendValue(CFMutableArrayRef array, const void* value);
    CFIndex CFArrayGetCount(CFArrayRef array);
    const void* CFArrayGetValueAtIndex(CFArrayRef array, CFIndex index);

    // Stand-in only ---------------------------------------------------------------------------
    /** Objects created and not yet released for the last time (constant strings excluded). */
    CFIndex VeridaneCFGetLiveObjectCount(void);
    /** Whether the calls above reach a CoreFoundation. Always where the stand-in is linked; a
        library bound to the process's stand-in at run time answers whether it found one (without
        one, every call answers null, 0 or false). */
    Boolean VeridaneCFPresent(void);
}

/** A constant string from a literal. */
#define CFSTR(text) VeridaneCFConstantString("" text "")
