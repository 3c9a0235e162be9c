// Result codes of every operation of the library. The host reads them as its own interfaces'
// result type, so the values are fixed.
#pragma once

#include <cstdint>

using AAX_Result = int32_t;

enum AAX_EError : AAX_Result
{
    AAX_SUCCESS = 0,
    AAX_ERROR_INVALID_PARAMETER_ID = -20001,
    AAX_ERROR_INVALID_STRING_CONVERSION = -20002,
    AAX_ERROR_NULL_OBJECT = -20004,
    AAX_ERROR_INVALID_CHUNK_INDEX = -20006,
    AAX_ERROR_INVALID_CHUNK_ID = -20007,
    AAX_ERROR_INCORRECT_CHUNK_SIZE = -20008,
    AAX_ERROR_UNIMPLEMENTED = -20009,
    AAX_ERROR_NOT_INITIALIZED = -20011,
    AAX_ERROR_SIGNED_INT_OVERFLOW = -20033,
};

/** The chunk writer would overflow its buffer. */
inline constexpr AAX_Result kChunkWriterOverflow = -333;
/** A component object does not offer the interface asked for. */
inline constexpr AAX_Result kACFNoInterface = static_cast<AAX_Result>(0x80000004);
/** Thrown (as this integer) by a host proxy that meets a null interface it must use. */
inline constexpr AAX_Result kACFNullPointer = static_cast<AAX_Result>(0x80000005);
/** Answered by an export when anything escapes its inner routine. */
inline constexpr AAX_Result kACFUnexpected = static_cast<AAX_Result>(0x8000FFFF);
