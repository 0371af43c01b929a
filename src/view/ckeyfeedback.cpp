#include "view/ckeyfeedback.h"

std::string CKeyFeedback::toggled(const std::string& what, bool on)
{
    return what + (on ? " on" : " off");
}

std::string CKeyFeedback::paused(bool paused)
{
    return paused ? "Paused" : "Running";
}

std::string CKeyFeedback::poolAnswer(const std::string& terminalLine, const std::string& doneText)
{
    const size_t failure = terminalLine.find("Cannot ");
    if (failure != std::string::npos)
        return terminalLine.substr(failure);
    const std::string done = "done.";
    if (terminalLine.size() >= done.size() && terminalLine.compare(terminalLine.size() - done.size(), done.size(), done) == 0)
        return doneText;
    return terminalLine;
}

std::string CKeyFeedback::frameWritten(const std::string& fileName)
{
    return "Frame saved to " + fileName;
}

std::string CKeyFeedback::frameSkipped()
{
    return "No frame this time: every second C press writes one";
}
