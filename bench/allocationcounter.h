#pragma once

// Heap allocations made through operator new since the program started. Counting replaces
// the global operator new of the program it is linked into, so only the benchmark links it.
long long allocationCount();
