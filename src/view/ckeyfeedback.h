#pragma once

#include <string>

// The words the window shows for a key that acts. Where the terminal has words for what
// happened (a failed save, load or capture), the window shows the same line; where it has
// none, or only "done.", a short line says what happened.
class CKeyFeedback
{
public:
    // "Fast mode on", "Firing off", ...
    static std::string toggled(const std::string& what, bool on);
    static std::string paused(bool paused); // "Paused" or "Running"
    // For a pool save or load: the terminal's failure from "Cannot " on, doneText when the
    // terminal said "done.", otherwise the terminal's last line as it stands.
    static std::string poolAnswer(const std::string& terminalLine, const std::string& doneText);
    static std::string frameWritten(const std::string& fileName);
    static std::string frameSkipped();
};
