#pragma once

// An invariant check that stays on in every build type: the game's evolution must stop
// loudly at a broken invariant rather than run on with corrupted brains or aliens.
#define KA_ASSERT(expr) ((expr) ? (void)0 : assertionFailed(#expr, __FILE__, __LINE__))

// Prints "Assertion failed: <expr>, file <file>, line <line>" and aborts.
[[noreturn]] void assertionFailed(const char* expression, const char* file, int line);
