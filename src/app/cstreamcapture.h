#pragma once

#include <ostream>
#include <streambuf>
#include <string>

// While it lives, everything written to the stream still goes where it went, in the same
// order and flushed as before, and the last kKeep characters of it are also kept; the
// stream gets its own buffer back when it ends. For showing in the window what the game
// says on the terminal, in the same words.
class CStreamCapture : private std::streambuf
{
public:
    static constexpr size_t kKeep = 4096;

    explicit CStreamCapture(std::ostream& stream);
    ~CStreamCapture() override;
    CStreamCapture(const CStreamCapture&) = delete;
    CStreamCapture& operator=(const CStreamCapture&) = delete;

    const std::string& text() const { return m_sText; }
    // The last line that has any text, without its line end; empty when there is none.
    std::string lastLine() const;

private:
    int overflow(int c) override;
    std::streamsize xsputn(const char* s, std::streamsize n) override;
    int sync() override;
    void keep(const char* s, size_t n);

    std::ostream& m_stream;
    std::streambuf* m_pTarget; // the stream's own buffer, not owned
    std::string m_sText;
};
