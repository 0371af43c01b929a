#pragma once

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>

#include "brain/cbrain.h"

// A broken promise of a reader: libFuzzer records the input that led here as a crash.
inline void fuzzCheck(bool bHolds, const char* szPromise)
{
    if (bHolds)
        return;
    std::fprintf(stderr, "broken promise: %s\n", szPromise);
    std::abort();
}

// Swallows everything written to it.
class CNullBuffer : public std::streambuf
{
protected:
    int_type overflow(int_type c) override { return traits_type::not_eof(c); }
};

// Sends the standard error stream nowhere while it lives, so that the readers' console
// lines do not drown libFuzzer's own output; its sanitizer reports bypass the stream.
class CSilencedStandardError
{
public:
    CSilencedStandardError() : m_pOld(std::cerr.rdbuf(&m_null)) {}
    ~CSilencedStandardError() { std::cerr.rdbuf(m_pOld); }
    CSilencedStandardError(const CSilencedStandardError&) = delete;
    CSilencedStandardError& operator=(const CSilencedStandardError&) = delete;

private:
    CNullBuffer m_null;
    std::streambuf* m_pOld;
};

inline std::string savedText(const CBrain& brain)
{
    std::ostringstream out;
    brain.save(out);
    return out.str();
}
