#pragma once

#include <streambuf>
#include <string>

// A regular file read through a fixed buffer straight from its descriptor, for readers that
// parse as they go: a file of any size costs the same memory. Opening accepts only what
// readRegularFile accepts (safefile.h): it never blocks, and a folder, FIFO or device is
// refused with the reason. A read that fails ends the stream and keeps the reason.
class CRegularFileBuf : public std::streambuf
{
public:
    CRegularFileBuf() = default;
    ~CRegularFileBuf() override; // closes the file
    CRegularFileBuf(const CRegularFileBuf&) = delete;
    CRegularFileBuf& operator=(const CRegularFileBuf&) = delete;

    // False, with the reason in error(), when the file cannot be opened or is not regular.
    bool open(const std::string& fileName);
    // Why the file could not be opened or read to its end; empty while all is well.
    const std::string& error() const { return m_sError; }

protected:
    int_type underflow() override;

private:
    static constexpr int BufferSize = 1 << 16;

    int m_iFd = -1; // owned
    std::string m_sError;
    char m_aBuffer[BufferSize];
};
