// Denormal samples are flushed to zero for the whole of a render call, so that processing time
// stays the same whatever the signal: the SSE control word gets flush-to-zero and
// denormals-are-zero on entry and is put back exactly as it was on every way out.
#pragma once

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>

class ScopedFlushToZero
{
public:
    static constexpr unsigned kFlushToZeroAndDenormalsAreZero = 0x8040;

    ScopedFlushToZero() : mSaved(_mm_getcsr())
    {
        _mm_setcsr(mSaved | kFlushToZeroAndDenormalsAreZero);
    }
    ~ScopedFlushToZero() { _mm_setcsr(mSaved); }

    ScopedFlushToZero(const ScopedFlushToZero&) = delete;
    ScopedFlushToZero& operator=(const ScopedFlushToZero&) = delete;

private:
    const unsigned mSaved;
};
#else
class ScopedFlushToZero
{
};
#endif
