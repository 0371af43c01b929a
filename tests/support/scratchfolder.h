#pragma once

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

// A fresh folder of its own in the test's working directory (the build tree), removed with
// everything in it when it goes out of scope. Tests that make links, FIFOs or device nodes
// make them in here and nowhere else.
class CScratchFolder
{
public:
    CScratchFolder()
    {
        char name[] = "scratch_XXXXXX";
        const char* made = mkdtemp(name);
        m_sPath = made ? std::filesystem::absolute(made).string() : std::string();
    }
    ~CScratchFolder()
    {
        std::error_code ignored;
        if (!m_sPath.empty())
            std::filesystem::remove_all(m_sPath, ignored);
    }
    CScratchFolder(const CScratchFolder&) = delete;
    CScratchFolder& operator=(const CScratchFolder&) = delete;

    bool isReady() const { return !m_sPath.empty(); }
    // The path of a name inside the folder.
    std::string operator/(const std::string& name) const { return m_sPath + "/" + name; }
    const std::string& path() const { return m_sPath; }
    // The names the folder holds, sorted.
    std::string listing() const
    {
        std::string names;
        std::vector<std::string> sorted;
        for (const auto& entry : std::filesystem::directory_iterator(m_sPath))
            sorted.push_back(entry.path().filename().string());
        std::sort(sorted.begin(), sorted.end());
        for (const std::string& name : sorted)
            names += (names.empty() ? "" : " ") + name;
        return names;
    }

private:
    std::string m_sPath;
};
