// The platform's reallocf, which glibc lacks: realloc that frees the old block when it fails.
#pragma once

#include <cstddef>

extern "C" void* reallocf(void* block, size_t size);
