#include "allocationcounter.h"

#include <cstdlib>
#include <new>

namespace
{
long long g_llAllocations = 0; // the benchmarks run on one thread

void* allocate(std::size_t size)
{
    ++g_llAllocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}
} // namespace

long long allocationCount()
{
    return g_llAllocations;
}

void* operator new(std::size_t size)
{
    return allocate(size);
}

void* operator new[](std::size_t size)
{
    return allocate(size);
}

void operator delete(void* p) noexcept
{
    std::free(p);
}

void operator delete[](void* p) noexcept
{
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept
{
    std::free(p);
}

void operator delete[](void* p, std::size_t) noexcept
{
    std::free(p);
}
