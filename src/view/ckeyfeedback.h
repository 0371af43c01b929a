#pragma once

#include <string>
#include <vector>

// The words the window shows for a key that acts. Where the terminal has words for what
// happened (a failed save, load or capture), the window shows the same line; where it has
// none, or only "done.", a short line says what happened.
class CKeyFeedback
{
public:
    // "Fast mode on", "Firing off", ...
    static std::string toggled(const std::string& what, bool on);
    // What p says. At normal speed "Paused" or "Running"; fast mode runs the world whatever the
    // pause says, so there the pause is only asked for or cancelled.
    static std::string paused(bool paused, bool fast);
    // What f says: "Fast mode on" or "off", then, with a pause asked for, what that pause does
    // from now on.
    static std::vector<std::string> fastMode(bool fast, bool paused);
    // The one line a blanked screen shows.
    static std::string blanked();
    // For a pool save or load: the terminal's failure from "Cannot " on, doneText when the
    // terminal said "done.", otherwise the terminal's last line as it stands.
    static std::string poolAnswer(const std::string& terminalLine, const std::string& doneText);
    static std::string frameWritten(const std::string& fileName);
    static std::string frameSkipped();
};
