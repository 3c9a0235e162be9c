// The platform's basic scalar types and the general status codes, as the Audio Unit layer and
// the CoreFoundation stand-in use them. The widths are what matters: every field of the records
// in CoreAudioTypes.h and AudioUnitTypes.h is built from these.
#pragma once

#include <cstdint>

typedef uint8_t UInt8;
typedef int8_t SInt8;
typedef uint16_t UInt16;
typedef int16_t SInt16;
typedef uint32_t UInt32;
typedef int32_t SInt32;
typedef uint64_t UInt64;
typedef int64_t SInt64;
typedef float Float32;
typedef double Float64;

typedef unsigned char Boolean;
typedef UInt8 Byte;

/** Every operation of the platform and of the Audio Unit layer answers a signed 32-bit status. */
typedef SInt32 OSStatus;
/** The older 16-bit status; widened by sign extension wherever it becomes an OSStatus. */
typedef SInt16 OSErr;
typedef UInt32 OSType;
typedef UInt32 FourCharCode;

typedef char* Ptr;
typedef Ptr* Handle;

constexpr FourCharCode MakeFourCharCode(char a, char b, char c, char d)
{
    return (UInt32(UInt8(a)) << 24) | (UInt32(UInt8(b)) << 16) | (UInt32(UInt8(c)) << 8) |
           UInt32(UInt8(d));
}

enum : OSStatus
{
    noErr = 0,
    paramErr = -50,
    memFullErr = -108,
};

static_assert(sizeof(Float32) == 4 && sizeof(Float64) == 8);
static_assert(sizeof(Boolean) == 1);
