// The AAX interface's ways into the plug-in: the two creation functions and the process
// procedure that registration hands the host, and the algorithm context the procedure reads.
//
// Where the interface leaves the binary form to the plug-in's framework, these are the choices,
// so that any host written for them interoperates:
// - A creation function takes no arguments and returns the new object's IACFUnknown pointer with
//   a reference count of 0; the host takes its reference by QueryInterface.
// - The process procedure is called with an array of context pointers and a pointer one past its
//   end.
// - A context is six pointer-sized fields in field order: 0 a pointer to an array of four input
//   channel pointers (float*), 1 a pointer to an array of four output channel pointers, 2 a
//   pointer to the int32 buffer length, 3 a pointer to the 4-byte bypass port, into which the host
//   copies each packet posted to field 3 (4 bytes, the size the port was declared with), 4 the
//   MIDI node, which is never dereferenced and may be null, 5 a pointer to the 8-byte private-data
//   block that the field-data reset fills with the instance.
// - The 'juce' chunk has the identifier 0x6A756365, is packed like 'elck' (the host's chunk
//   record), and its data is exactly the processor's state block.
#pragma once

#include "hosts/aax/component/ACF.h"

#include <cstddef>
#include <cstdint>

namespace veridane::aax
{

/** The fields of the algorithm context; registration describes the same numbers. */
enum ContextField : std::uint32_t
{
    inputsField = 0,
    outputsField = 1,
    bufferLengthField = 2,
    bypassPortField = 3,
    midiNodeField = 4,
    privateDataField = 5,
};

/** Bytes of the bypass port: one 32-bit value, non-zero while bypassed. */
inline constexpr std::uint32_t bypassPortSize = 4;
/** Bytes of the private data: room for the instance's address. */
inline constexpr std::uint32_t privateDataSize = 8;

struct AlgorithmContext
{
    float* const* inputs;
    float* const* outputs;
    const std::int32_t* bufferLength;
    const std::int32_t* bypassPort;
    const void* midiNode;
    const void* privateData;
};

static_assert(offsetof(AlgorithmContext, inputs) == inputsField * sizeof(void*));
static_assert(offsetof(AlgorithmContext, outputs) == outputsField * sizeof(void*));
static_assert(offsetof(AlgorithmContext, bufferLength) == bufferLengthField * sizeof(void*));
static_assert(offsetof(AlgorithmContext, bypassPort) == bypassPortField * sizeof(void*));
static_assert(offsetof(AlgorithmContext, midiNode) == midiNodeField * sizeof(void*));
static_assert(offsetof(AlgorithmContext, privateData) == privateDataField * sizeof(void*));
static_assert(sizeof(void*) <= privateDataSize, "the instance's address fits the private data");

/** Creates one effect-parameters object (an instance's data model and audio), or null when the
    processor cannot be built. Never throws. */
IACFUnknown* createEffectParameters() noexcept;

/** Creates one window object. Never throws. */
IACFUnknown* createEffectGui() noexcept;

/** The audio callback: runs each context's instance on its buffers, bypassed while its port is
    non-zero. Contexts that are incomplete, or whose private data holds no instance, are left
    alone. Audio thread; allocates and locks nothing beyond the processor's callback lock. */
void processContexts(AlgorithmContext* const* begin, AlgorithmContext* const* end) noexcept;

} // namespace veridane::aax
