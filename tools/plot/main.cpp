// korvane-plot: the best pool fitness curves of korvane-sim statistics files, as one SVG.
#include <fstream>
#include <iostream>
#include <sstream>

#include "app/cfitnessgraph.h"
#include "common/svgplot.h"
#include "world/outofmemory.h"
#include "world/safefile.h"

namespace
{
// The file's name without its folder and extension.
std::string runName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return base.substr(0, base.find_last_of('.'));
}

// The red and green best columns of a statistics file, as two curves named after it.
bool addStatsFile(const std::string& path, CFitnessGraph& graph, std::string& error)
{
    std::ifstream in(path);
    if (!in)
    {
        error = "cannot be opened";
        return false;
    }
    // The first file's curves in full colour, the others paler.
    const bool first = graph.getSeries().empty();
    const std::string name = runName(path);
    const int red = graph.addSeries(name + ": red best", first ? 0xD03030 : 0xF0A0A0);
    const int green = graph.addSeries(name + ": green best", first ? 0x20A040 : 0x90D0A0);
    std::string line;
    int lineNumber = 0;
    while (std::getline(in, line))
    {
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        double minutes, redDead, redBest, redWorst, greenDead, greenBest;
        if (!(fields >> minutes >> redDead >> redBest >> redWorst >> greenDead >> greenBest))
        {
            error = "line " + std::to_string(lineNumber) + " is not a statistics line";
            return false;
        }
        graph.addPoint(red, minutes, redBest);
        graph.addPoint(green, minutes, greenBest);
    }
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-plot");
    if (argc < 3)
    {
        std::cerr << "usage: " << argv[0] << " OUT.svg STATS...\n"
                  << "Draws the red and green best pool fitness of korvane-sim statistics files.\n";
        return 2;
    }
    CFitnessGraph graph;
    for (int i = 2; i < argc; ++i)
    {
        std::string error;
        if (!addStatsFile(argv[i], graph, error))
        {
            std::cerr << argv[i] << ": " << error << std::endl;
            return 1;
        }
    }
    std::string error;
    if (!writeFileAtomically(argv[1], renderSvg(graph, "Best pool fitness"), error))
    {
        std::cerr << "Cannot write " << argv[1] << ": " << error << std::endl;
        return 1;
    }
    return 0;
}
