#include "app/web/cwebfiles.h"

#include <dirent.h>
#include <emscripten.h>

#include <iostream>

#include "app/framenames.h"
#include "files/safefile.h"

namespace
{
// Far above the game's own files; anything larger was not written by it.
constexpr size_t kMaxKeptBytes = 16u << 20;

bool copyFile(const std::string& from, const std::string& to)
{
    std::string contents, error;
    if (readRegularFile(from, kMaxKeptBytes, contents, error) && writeFileAtomically(to, contents, error))
        return true;
    std::cerr << "Cannot keep " << from << " as " << to << ": " << error << std::endl;
    return false;
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
        if (copyFile(std::string(kKeptFolder) + "/" + name, name) && isParams)
            params = true;
    }
    closedir(folder);
    return params;
}

void CWebFiles::written(const std::string& fileName)
{
    if (isFrame(fileName))
    {
        EM_ASM({ Module.korvaneDownload(UTF8ToString($0)); }, fileName.c_str());
        return;
    }
    if (!copyFile(fileName, std::string(kKeptFolder) + "/" + fileName))
        return;
    // The page counts the stores that have reached the browser's storage.
    EM_ASM({
        FS.syncfs(false, function(error) {
            if (error)
                console.error('Cannot keep the saved files in the browser: ' + error);
            else
                Module.korvaneStores = (Module.korvaneStores || 0) + 1;
        });
    });
}
