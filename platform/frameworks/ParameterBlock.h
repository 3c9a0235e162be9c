// A Component Manager parameter block built by the frameworks stand-in: the instance word, then
// each argument in its own 8-byte word, in order.
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
