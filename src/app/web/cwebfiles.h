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
    // when asked for. True when a kept params.ini was restored. A kept file that cannot be
    // used (too large, a folder) is dropped from the browser's storage, and why is kept
    // (problem).
    static bool restore(bool withParams);
    // Why the kept file of that name could not be restored; empty when it was, or there was
    // none.
    static std::string problem(const std::string& fileName);
    // A file the game has written whole: kept, or offered as a download when it is a frame.
    // The browser's storage answers later (stored). One keep of a file is asked at a time: a
    // file written again before the answer is kept, as it then is, once the answer came.
    static void written(const std::string& fileName);
    // The browser's storage has taken the file, or refused it with the reason.
    static void stored(const std::string& fileName, bool ok, const std::string& error);
    // The page is closing: every file written again since its keep was asked is copied into
    // the kept folder as it is now, for the page to put by before it goes.
    static void flush();
};
