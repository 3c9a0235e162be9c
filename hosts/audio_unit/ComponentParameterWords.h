// Reading a selector's arguments out of a Component Manager parameter block: word 0 is the
// instance, the arguments follow one 8-byte word each, in order. The block is the host's memory
// and its parameter size byte says how many argument bytes it holds: a dispatcher asks
// HoldsArguments before it reads any of them.
#pragma once

#include "platform/Components.h"

#include <cstring>

/** Whether the block holds this many argument words after the instance word. */
inline bool HoldsArguments(const ComponentParameters& params, size_t words)
{
    return params.paramSize >= words * sizeof(intptr_t);
}

/** Word n, counting the instance as word 0. */
inline intptr_t ParameterWord(const ComponentParameters& params, size_t n)
{
    const intptr_t* words = params.params;
    return words[n];
}

/** A 32-bit integer lives in the low half of its word. */
inline UInt32 ParameterUInt32(const ComponentParameters& params, size_t n)
{
    return UInt32(UInt64(ParameterWord(params, n)) & 0xFFFFFFFFu);
}

/** A 32-bit float lives in the low four bytes of its word. */
inline Float32 ParameterFloat32(const ComponentParameters& params, size_t n)
{
    const intptr_t word = ParameterWord(params, n);
    Float32 value;
    std::memcpy(&value, &word, sizeof value);
    return value;
}

template <typename Pointer> Pointer ParameterPointer(const ComponentParameters& params, size_t n)
{
    return reinterpret_cast<Pointer>(ParameterWord(params, n));
}
