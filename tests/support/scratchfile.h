#pragma once

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

// A file in the test's working directory (the build tree), removed when it goes out of scope.
// The process id in its name keeps tests that run in parallel apart.
class CScratchFile
{
public:
    CScratchFile(const std::string& name, const std::string& contents)
        : m_sName(std::to_string(getpid()) + "_" + name)
    {
        std::ofstream out(m_sName, std::ios::binary);
        out << contents;
    }
    ~CScratchFile() { std::remove(m_sName.c_str()); }
    CScratchFile(const CScratchFile&) = delete;
    CScratchFile& operator=(const CScratchFile&) = delete;

    const char* path() const { return m_sName.c_str(); }

private:
    std::string m_sName;
};

inline std::string readWholeFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// The parameter file that ships with the game.
inline std::string shippedParams()
{
    return readWholeFile(KA_SOURCE_DIR "/params.ini");
}
