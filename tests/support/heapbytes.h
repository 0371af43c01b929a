#pragma once

#include <cstddef>

#if defined(__SANITIZE_ADDRESS__)
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#else
#include <malloc.h>
#endif

// The bytes the program holds on the heap right now (under AddressSanitizer, by its own
// allocator's count), for tests that show what an operation keeps while it runs.
inline size_t liveHeapBytes()
{
#if defined(__SANITIZE_ADDRESS__)
    return __sanitizer_get_current_allocated_bytes();
#else
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
#endif
}
