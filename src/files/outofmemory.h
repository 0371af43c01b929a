#pragma once

// Makes a failed allocation end the program with a clear message instead of an abort:
// after this, when operator new cannot get memory, the standard error stream reads
// "Out of memory: <program> could not get the memory it needs" with a hint, and the
// program exits at once with status 1 (no destructors run: the heap is not to be trusted
// any more). Nothing is allocated when it happens.
void installOutOfMemoryHandler(const char* szProgram);
