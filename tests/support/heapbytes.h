#pragma once

#include <cstddef>

// heapBytesInUse: the bytes the heap has handed out and not taken back, from the allocator
// in use; tests that a reader's memory stays bounded compare it before and while it reads.
// kAddressSanitizer: whether AddressSanitizer's allocator is that allocator.
#if defined(__SANITIZE_ADDRESS__)
#define KA_ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KA_ADDRESS_SANITIZER 1
#endif
#endif

#ifdef KA_ADDRESS_SANITIZER
// The sanitizer's own count; declared here as not every compiler ships its header.
extern "C" size_t __sanitizer_get_current_allocated_bytes();
constexpr bool kAddressSanitizer = true;
inline size_t heapBytesInUse()
{
    return __sanitizer_get_current_allocated_bytes();
}
#else
#include <malloc.h>
constexpr bool kAddressSanitizer = false;
inline size_t heapBytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}
#endif
