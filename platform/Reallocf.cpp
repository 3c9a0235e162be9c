// Alone in its file, so that a test program can put its own reallocf in front of this one.
#include "platform/Reallocf.h"

#include <cstdlib>

void* reallocf(void* block, size_t size)
{
    // realloc of size 0 may free the block and answer null; ask for one byte instead so that a
    // null answer always means failure and the block is freed exactly once.
    void* const grown = std::realloc(block, size != 0 ? size : 1);
    if (grown == nullptr)
        std::free(block);
    return grown;
}
