#include "files/outofmemory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <new>

#include "support/heapbytes.h"

namespace
{
// Asks for more than any machine has. AddressSanitizer reports a failed allocation itself
// and never calls a new handler: under it, runs the installed handler as operator new would.
void allocateMoreThanAnyMachineHas()
{
    if (kAddressSanitizer)
    {
        std::get_new_handler()();
        return;
    }
    volatile std::size_t size = ~static_cast<std::size_t>(0) / 2;
    void* volatile p = ::operator new(size);
    ::operator delete(p);
}

TEST(OutOfMemoryTest, FailedAllocationAbortingTheProgramIsMended)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            installOutOfMemoryHandler("korvane-test");
            allocateMoreThanAnyMachineHas();
        },
        ::testing::ExitedWithCode(1),
        "^Out of memory: korvane-test could not get the memory it needs \\(fewer aliens or smaller networks in the "
        "parameter file need less\\)\n$");
}
} // namespace
