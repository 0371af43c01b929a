#pragma once

#include <string>
#include <vector>

// What each platform's main provides the shell with: the desktop's (main.cpp) and the web
// page's (web/webmain.cpp).

// Ends the game once its files are closed.
void endGame();
// A file the game saved whole (a pool, a frame, the statistics file's lines) is there to keep.
void fileWritten(const std::string& fileName);
// Why a file the platform keeps for the game could not be brought back for it ("" on a
// desktop, whose files stay where they are).
std::string keptFileProblem(const std::string& fileName);
// A challenge ended: what the window says of it, a line a fact (a key and its text split by
// a tab), for a platform that says it in its own way too (the web page, as page text).
void challengeEnded(const std::vector<std::string>& report);
