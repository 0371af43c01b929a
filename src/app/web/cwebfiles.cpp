#include "app/web/cwebfiles.h"

#include <dirent.h>
#include <emscripten.h>

#include <iostream>
#include <map>
#include <set>
#include <sys/stat.h>
#include <unistd.h>

#include "app/framenames.h"
#include "files/safefile.h"

namespace
{
// Far above the game's own files; anything larger was not written by it.
constexpr size_t kMaxKeptBytes = 16u << 20;

// Why each kept file that could not be restored was dropped.
std::map<std::string, std::string> g_problems;
// The files whose keep the storage has not answered yet, and those of them written again since:
// one keep of a file at a time, its later writes gone with the next.
std::set<std::string> g_asked;
std::set<std::string> g_writtenAgain;

bool copyFile(const std::string& from, const std::string& to, std::string& error)
{
    std::string contents;
    return readRegularFile(from, kMaxKeptBytes, contents, error) && writeFileAtomically(to, contents, error);
}

long long fileBytes(const std::string& fileName)
{
    struct stat info;
    return stat(fileName.c_str(), &info) == 0 ? static_cast<long long>(info.st_size) : 0;
}

// What the browser's storage held under the name, gone: a folder or a file alike.
void drop(const std::string& path)
{
    if (unlink(path.c_str()) != 0)
        rmdir(path.c_str());
}

bool isFrame(const std::string& fileName)
{
    return fileName.rfind("frame", 0) == 0 && fileName.size() > 4 && fileName.substr(fileName.size() - 4) == ".bmp";
}
} // namespace

bool CWebFiles::restore(bool withParams)
{
    DIR* folder = opendir(kKeptFolder);
    if (!folder)
        return false;
    bool params = false;
    while (const dirent* entry = readdir(folder))
    {
        const std::string name = entry->d_name;
        const bool isParams = name == "params.ini";
        if (name == "." || name == ".." || (isParams && !withParams))
            continue;
        const std::string kept = std::string(kKeptFolder) + "/" + name;
        std::string error;
        if (copyFile(kept, name, error))
        {
            params = params || isParams;
            continue;
        }
        g_problems[name] = error;
        std::cerr << "The " << name << " kept in this browser cannot be used (" << error << "): it is dropped"
                  << std::endl;
        drop(kept);
    }
    closedir(folder);
    return params;
}

std::string CWebFiles::problem(const std::string& fileName)
{
    const auto found = g_problems.find(fileName);
    return found == g_problems.end() ? "" : found->second;
}

void CWebFiles::written(const std::string& fileName)
{
    if (isFrame(fileName))
    {
        EM_ASM({ Module.korvaneDownload(UTF8ToString($0)); }, fileName.c_str());
        return;
    }
    g_problems.erase(fileName);
    if (g_asked.count(fileName))
    {
        g_writtenAgain.insert(fileName);
        return;
    }
    // The storage answers later, through the page, as the game's korvaneStored; a file that
    // cannot even be copied for it is answered the same way, so the player hears of it alike.
    std::string error;
    if (copyFile(fileName, std::string(kKeptFolder) + "/" + fileName, error))
    {
        g_asked.insert(fileName);
        EM_ASM({ Module.korvaneKeep(UTF8ToString($0), $1); }, fileName.c_str(),
               static_cast<double>(fileBytes(fileName)));
    }
    else
        EM_ASM(
            {
                Module.ccall('korvaneStored', null, [ 'string', 'number', 'string' ],
                             [ UTF8ToString($0), 0, UTF8ToString($1) ]);
            },
            fileName.c_str(), error.c_str());
}

void CWebFiles::stored(const std::string& fileName, bool ok, const std::string& error)
{
    if (!ok)
        std::cerr << "Cannot keep " << fileName << " in this browser: " << error << std::endl;
    g_asked.erase(fileName);
    if (g_writtenAgain.erase(fileName))
        written(fileName);
}

void CWebFiles::flush()
{
    for (const std::string& fileName : g_writtenAgain)
    {
        std::string error;
        if (!copyFile(fileName, std::string(kKeptFolder) + "/" + fileName, error))
            std::cerr << "Cannot keep " << fileName << " in this browser: " << error << std::endl;
    }
}
