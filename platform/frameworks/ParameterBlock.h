// A Component Manager parameter block built by the frameworks stand-in: the instance word, then
// each argument in its own 8-byte word, in order. Hosts build theirs the same way.
#pragma once

#include "platform/Components.h"

#include <cstddef>
#include <cstring>

namespace veridane::frameworks
{

class ParameterBlock
{
public:
    ParameterBlock(SInt16 selector, ComponentInstance instance)
    {
        Header().what = selector;
        Append(instance);
    }

    void Append(UInt32 value) { AppendWord(intptr_t(value)); }
    void Append(const void* pointer) { AppendWord(reinterpret_cast<intptr_t>(pointer)); }
    /** A float travels in the low four bytes of its word. */
    void Append(Float32 value)
    {
        intptr_t word = 0;
        std::memcpy(&word, &value, sizeof value);
        AppendWord(word);
    }

    ComponentParameters& Header() { return *reinterpret_cast<ComponentParameters*>(mBytes); }

private:
    static constexpr size_t kMaxWords = 7;

    void AppendWord(intptr_t word)
    {
        if (mWords == kMaxWords)
            return;
        std::memcpy(mBytes + offsetof(ComponentParameters, params) + mWords * sizeof(intptr_t),
                    &word, sizeof word);
        ++mWords;
        // The size counts the arguments, not the instance word.
        Header().paramSize = UInt8((mWords - 1) * sizeof(intptr_t));
    }

    alignas(ComponentParameters)
        Byte mBytes[offsetof(ComponentParameters, params) + kMaxWords * sizeof(intptr_t)]{};
    size_t mWords = 0;
};

} // namespace veridane::frameworks
