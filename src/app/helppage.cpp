#include "app/helppage.h"

#include <cerrno>
#include <cstring>
#include <iostream>

#include "files/safefile.h"

std::vector<std::string> readHelpLines(const std::string& fileName, size_t maxLines, size_t maxLength, size_t maxBytes)
{
    std::vector<std::string> lines;
    std::string text, error;
    if (!readRegularFile(fileName, maxBytes, text, error))
    {
        if (error != std::strerror(ENOENT))
            std::cerr << "Cannot read " << fileName << ": " << error << std::endl;
        return lines;
    }
    std::string line;
    bool inLine = false;
    for (size_t i = 0; i < text.size() && lines.size() < maxLines; ++i)
    {
        inLine = true;
        if (text[i] == '\n')
        {
            lines.push_back(line);
            line.clear();
            inLine = false;
        }
        else if (line.size() < maxLength)
            line.push_back(text[i]);
    }
    if (inLine && lines.size() < maxLines)
        lines.push_back(line); // a last line without a line end
    return lines;
}
