#include "app/helppage.h"

#include <fstream>

std::vector<std::string> readHelpLines(const std::string& fileName, size_t maxLines, size_t maxLength)
{
    std::vector<std::string> lines;
    std::ifstream in(fileName);
    std::string line;
    char c = 0;
    bool inLine = false;
    while (lines.size() < maxLines && in.get(c))
    {
        inLine = true;
        if (c == '\n')
        {
            lines.push_back(line);
            line.clear();
            inLine = false;
        }
        else if (line.size() < maxLength)
            line.push_back(c);
    }
    if (inLine && lines.size() < maxLines)
        lines.push_back(line); // a last line without a line end
    return lines;
}
