#include "world/outofmemory.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <new>

namespace
{
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kNewHandlersRun = false; // AddressSanitizer reports a failed allocation itself
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kNewHandlersRun = false;
#else
constexpr bool kNewHandlersRun = true;
#endif
#else
constexpr bool kNewHandlersRun = true;
#endif

// Asks for more than any machine has; where the sanitizer takes failed allocations over, runs
// the handler the program installed, as operator new would.
void allocateMoreThanAnyMachineHas()
{
    if (!kNewHandlersRun)
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
