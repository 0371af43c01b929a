#pragma once

#include <string>

// The game's files in a web page. The game works in a folder in memory, so what it must keep
// (the saved pool, the statistics files, a params.ini the player chose) is copied into a
// folder that the browser keeps in its IndexedDB as soon as it is written whole, and back
// before the game starts: saves survive a reload. A captured frame is handed to the player as
// a download instead. Only regular files are copied, through the safe-file layer.
class CWebFiles
{
public:
    static constexpr const char* kKeptFolder = "/keep";

    // Into the working folder: every file kept from earlier visits, the player's params.ini only
    // when asked for. True when a kept params.ini was restored.
    static bool restore(bool withParams);
    // A file the game has written whole: kept, or offered as a download when it is a frame.
    static void written(const std::string& fileName);
};
