// The parameter records of a saved state's "data" value, one after another, every field a
// big-endian 32-bit word: scope, element, count n, then n pairs of parameter id and the bits of
// its 32-bit float value (12 + 8 n bytes).
#pragma once

#include "platform/CoreFoundation.h"

#include <cstddef>
#include <initializer_list>

class AUBase;

/** Appends the words in one piece; throws std::bad_alloc when the data cannot grow. */
void AppendBigEndianWords(CFMutableDataRef data, std::initializer_list<UInt32> words);

UInt32 ReadBigEndianWord(const UInt8* bytes);

/** Whether the bytes hold nothing but whole records. */
bool AreWholeParameterRecords(const UInt8* data, size_t length);

/** Sets the parameters the records name on the unit's elements, skipping records of elements
    the unit lacks. The records are checked before anything is set: anything but whole records
    throws kAudioUnitErr_InvalidPropertyValue, a scope the unit lacks kAudioUnitErr_InvalidScope.
    An id past an indexed element's slots throws kAudioUnitErr_InvalidParameter from the element,
    with the pairs before it already set. */
void RestoreParameterRecords(AUBase& unit, const UInt8* data, size_t length);
