// korvane-plot: the best pool fitness curves of korvane-sim statistics files, as one SVG.
#include <algorithm>
#include <iostream>
#include <sstream>

#include "app/cfitnessgraph.h"
#include "common/coutputcheck.h"
#include "common/svgplot.h"
#include "world/outofmemory.h"
#include "world/safefile.h"

namespace
{
// Far above what any run writes at its default period; a file beyond it is not read at all.
constexpr size_t kMaxStatsBytes = 64u << 20;
constexpr int kColumns = 8; // minutes, then dead, best and worst for red and green, green's mean
constexpr int kRedBest = 2;
constexpr int kGreenBest = 5;

// The file's name without its folder and extension.
std::string runName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return base.substr(0, base.find_last_of('.'));
}

// A data line's numbers: exactly kColumns of them and nothing else.
bool parseLine(const std::string& line, double (&values)[kColumns])
{
    std::istringstream fields(line);
    for (double& value : values)
        if (!(fields >> value))
            return false;
    return (fields >> std::ws).eof();
}

// The red and green best columns of a statistics file, as two curves named after it.
bool addStatsFile(const std::string& path, CFitnessGraph& graph, std::string& error)
{
    std::string contents;
    if (!readRegularFile(path, kMaxStatsBytes, contents, error))
        return false;
    // A run always ends its lines: a last line without an end was cut off while written.
    if (!contents.empty() && contents.back() != '\n')
    {
        error = "line " + std::to_string(std::count(contents.begin(), contents.end(), '\n') + 1) +
                " is cut short: it has no line end";
        return false;
    }
    // The first file's curves in full colour, the others paler.
    const bool first = graph.getSeries().empty();
    const std::string name = runName(path);
    const int red = graph.addSeries(name + ": red best", first ? 0xD03030 : 0xF0A0A0);
    const int green = graph.addSeries(name + ": green best", first ? 0x20A040 : 0x90D0A0);
    std::istringstream in(contents);
    std::string line;
    int lineNumber = 0;
    int dataLines = 0;
    while (std::getline(in, line))
    {
        ++lineNumber;
        if (line.empty() || line[0] == '#')
            continue;
        double values[kColumns];
        if (!parseLine(line, values))
        {
            error = "line " + std::to_string(lineNumber) + " is not a statistics line of " +
                    std::to_string(kColumns) + " numbers: '" + printableExcerpt(line) + "'";
            return false;
        }
        graph.addPoint(red, values[0], values[kRedBest]);
        graph.addPoint(green, values[0], values[kGreenBest]);
        ++dataLines;
    }
    if (dataLines == 0)
    {
        error = "holds no statistics lines";
        return false;
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
                  << "Draws the red and green best pool fitness of korvane-sim statistics files.\n"
                  << "Exit status: 0 done; 1 a file could not be read or written; 2 a wrong command line\n"
                  << "(too few names, or the picture is one of the statistics files).\n";
        return 2;
    }
    COutputCheck files;
    files.addOutput("the picture", argv[1]);
    for (int i = 2; i < argc; ++i)
        files.addInput("the statistics file", argv[i]);
    if (const int status = files.report(); status != 0)
        return status;

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
