#include "view/ckeyfeedback.h"

std::string CKeyFeedback::toggled(const std::string& what, bool on)
{
    return what + (on ? " on" : " off");
}

std::string CKeyFeedback::paused(bool paused, bool fast)
{
    if (fast)
        return paused ? "Pause takes effect at normal speed" : "Pause cancelled";
    return paused ? "Paused" : "Running";
}

std::vector<std::string> CKeyFeedback::fastMode(bool fast, bool paused)
{
    std::vector<std::string> said{toggled("Fast mode", fast)};
    if (paused)
        said.push_back(CKeyFeedback::paused(true, fast));
    return said;
}

std::string CKeyFeedback::blanked()
{
    return "Screen blanked: press ` to draw again";
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
