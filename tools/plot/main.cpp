// korvane-plot: the learning curves of korvane-sim's files, as one SVG: from a learning
// curves' file (--learning) the mean fitness of the dying over the last game minute and the
// player's side (hits on the gun, the gun's kills), from a statistics file (--stats) the pools'
// best alone; with --control, the learning file of a --control run gives random brains' level
// and each curve's ratio to it.
#include <algorithm>
#include <cmath>
#include <iomanip>
#include <iostream>
#include <limits>
#include <sstream>
#include <vector>

#include "view/clearninggraph.h"
#include "common/coutputcheck.h"
#include "common/svgplot.h"
#include "files/outofmemory.h"
#include "files/safefile.h"

namespace
{
// Far above what any run writes at its default period; a file beyond it is not read at all.
constexpr size_t kMaxStatsBytes = 64u << 20;
// A statistics line: minutes, then dead, best and worst for red and green, green's mean.
constexpr size_t kStatsColumns = 8;
constexpr int kStatsRedBest = 2;
constexpr int kStatsGreenBest = 5;
// A learning line: minutes, then dead, their mean fitness and the pool's best for red and green;
// then, in files written since the pools' entry was reported, the entry bar and the newcomers
// taken in for red and green; then, in files written since the player's side was reported,
// the gun's shots and kills, the red bullets on the gun, on red and on green aliens, and the
// alive steps of red and green.
constexpr size_t kOldestLearningColumns = 7;
constexpr size_t kOldLearningColumns = 11;
constexpr size_t kLearningColumns = 18;
constexpr int kGunKills = 12;
constexpr int kRedOnGun = 13;
constexpr int kRedEntryBar = 7;
constexpr int kGreenEntryBar = 9;
constexpr int kRedDead = 1;
constexpr int kRedDeadMean = 2;
constexpr int kRedBest = 3;
constexpr int kGreenDead = 4;
constexpr int kGreenDeadMean = 5;
constexpr int kGreenBest = 6;

// The file's name without its folder and extension.
std::string runName(const std::string& path)
{
    const size_t slash = path.find_last_of('/');
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    return base.substr(0, base.find_last_of('.'));
}

// One field: a number, or "nan" for a period's mean fitness when none died.
bool parseField(const std::string& field, double& value)
{
    if (field == "nan")
    {
        value = std::numeric_limits<double>::quiet_NaN();
        return true;
    }
    std::istringstream in(field);
    return in >> value && in.eof();
}

bool isLearningWidth(size_t width)
{
    return width == kLearningColumns || width == kOldLearningColumns || width == kOldestLearningColumns;
}

// The player's side of a learning line, when its file tells it.
CLearningGraph::SPlayerPeriod playerPeriodOf(const std::vector<double>& v)
{
    if (v.size() < kLearningColumns)
        return CLearningGraph::NotKnown;
    return {static_cast<long long>(v[kRedOnGun]), static_cast<long long>(v[kGunKills])};
}

// Where a learning line may hold "nan": a period's mean fitness of the dead, a filling pool's bar.
bool mayBeNan(size_t width, size_t column)
{
    return isLearningWidth(width) &&
           (column == kRedDeadMean || column == kGreenDeadMean || column == kRedEntryBar || column == kGreenEntryBar);
}

// A data line's numbers: as many as a statistics or a learning line has, and nothing else;
// "nan" only where a learning line may hold it.
bool parseLine(const std::string& line, std::vector<double>& values)
{
    std::istringstream fields(line);
    values.clear();
    for (std::string field; fields >> field;)
    {
        double value = 0;
        if (!parseField(field, value))
            return false;
        values.push_back(value);
    }
    if (values.size() != kStatsColumns && !isLearningWidth(values.size()))
        return false;
    for (size_t i = 0; i < values.size(); ++i)
        if (std::isnan(values[i]) && !mayBeNan(values.size(), i))
            return false;
    return true;
}

// The two numbers with as few digits as tell them apart (six at least, as the file's own).
std::pair<std::string, std::string> apart(double a, double b)
{
    for (int digits = 6;; ++digits)
    {
        std::ostringstream first, second;
        first << std::setprecision(digits) << a;
        second << std::setprecision(digits) << b;
        if (first.str() != second.str() || digits >= 17)
            return {first.str(), second.str()};
    }
}

// Why a line's minutes cannot follow the last line's (lastLine 0 for none), or "": a run's
// minutes start at 0 and never go back, though a game paused throughout a period repeats them.
std::string minutesFault(double minutes, int lineNumber, double lastMinutes, int lastLine)
{
    std::ostringstream fault;
    if (minutes < 0)
        fault << "line " << lineNumber << " starts at " << minutes << " minutes: a run's minutes are not negative";
    else if (lastLine != 0 && minutes < lastMinutes)
    {
        const auto [now, before] = apart(minutes, lastMinutes);
        fault << "line " << lineNumber << " goes back in time: its " << now << " minutes come after line " << lastLine
              << "'s " << before;
    }
    return fault.str();
}

// The data lines of a statistics or learning file, all of one width, in time order.
bool readDataLines(const std::string& path, std::vector<std::vector<double>>& lines, std::string& error)
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
    std::istringstream in(contents);
    std::string line;
    std::vector<double> values;
    int lastLine = 0;
    for (int lineNumber = 1; std::getline(in, line); ++lineNumber)
    {
        if (line.empty() || line[0] == '#')
            continue;
        const size_t width = lines.empty() ? 0 : lines.front().size();
        if (!parseLine(line, values) || (width != 0 && values.size() != width))
        {
            const std::string kind = width == 0 ? "neither a statistics line of 8 numbers nor a learning line of 18 (or 11, or 7)"
                                     : width == kStatsColumns ? "not a statistics line of 8 numbers"
                                                              : "not a learning line of " + std::to_string(width) + " numbers";
            error = "line " + std::to_string(lineNumber) + " is " + kind + ": '" + printableExcerpt(line) + "'";
            return false;
        }
        error = minutesFault(values[0], lineNumber, lines.empty() ? 0.0 : lines.back()[0], lastLine);
        if (!error.empty())
            return false;
        lines.push_back(values);
        lastLine = lineNumber;
    }
    if (lines.empty())
        error = "holds no statistics lines";
    return !lines.empty();
}

// A file's curves, named after it: the first file's in full colour, the others paler.
bool addFileCurves(const std::string& path, CLearningGraph& graph, bool first, std::string& error)
{
    std::vector<std::vector<double>> lines;
    if (!readDataLines(path, lines, error))
        return false;
    const bool learningLines = isLearningWidth(lines.front().size());
    const int run = graph.addRun(runName(path) + ": ", first ? 0xD03030 : 0xF0A0A0, first ? 0x20A040 : 0x90D0A0,
                                 learningLines);
    const double none = std::numeric_limits<double>::quiet_NaN();
    for (const std::vector<double>& v : lines)
        if (learningLines)
            graph.addPeriod(run, v[0], {static_cast<long long>(v[kRedDead]), v[kRedDeadMean], v[kRedBest]},
                            {static_cast<long long>(v[kGreenDead]), v[kGreenDeadMean], v[kGreenBest]},
                            playerPeriodOf(v));
        else
            graph.addPeriod(run, v[0], {0, none, v[kStatsRedBest]}, {0, none, v[kStatsGreenBest]});
    return true;
}

// A control run's learning file as the random brains' dashed curves.
bool addBaseline(const std::string& path, CLearningGraph& graph, std::string& error)
{
    std::vector<std::vector<double>> lines;
    if (!readDataLines(path, lines, error))
        return false;
    if (!isLearningWidth(lines.front().size()))
    {
        error = "is a statistics file; --control takes the --learning file of a korvane-sim --control run";
        return false;
    }
    const int run = graph.addBaseline();
    for (const std::vector<double>& v : lines)
        graph.addPeriod(run, v[0], {static_cast<long long>(v[kRedDead]), v[kRedDeadMean], v[kRedBest]},
                        {static_cast<long long>(v[kGreenDead]), v[kGreenDeadMean], v[kGreenBest]},
                        playerPeriodOf(v));
    return true;
}
} // namespace

int main(int argc, char** argv)
{
    installOutOfMemoryHandler("korvane-plot");
    const bool control = argc >= 3 && std::string(argv[2]) == "--control";
    const int firstFile = control ? 4 : 2;
    if (argc <= firstFile)
    {
        std::cerr << "usage: " << argv[0] << " OUT.svg [--control CONTROL.tsv] FILE...\n"
                  << "Draws korvane-sim's learning curves over minutes of game time, a panel for red and one for\n"
                  << "green: from a --learning file the mean fitness of the aliens that died over the last game\n"
                  << "minute (thick), from a --stats file each pool's best (thin); and from --learning files that\n"
                  << "tell it, a third for the player: the red hits on the gun and the gun's kills a game minute\n"
                  << "over the last game minute. --control takes the --learning\n"
                  << "file of a korvane-sim --control run: its dying's mean over the last game minute is drawn\n"
                  << "dashed as random brains', and each curve's last ratio to it is written beside the curve.\n"
                  << "Exit status: 0 done; 1 a file could not be read or written; 2 a wrong command line\n"
                  << "(too few names, or the picture is one of the statistics files).\n";
        return 2;
    }
    COutputCheck files;
    files.addOutput("the picture", argv[1]);
    if (control)
        files.addInput("the control run's file", argv[3]);
    for (int i = firstFile; i < argc; ++i)
        files.addInput("the statistics file", argv[i]);
    if (const int status = files.report(); status != 0)
        return status;

    CLearningGraph graph;
    std::string error;
    if (control && !addBaseline(argv[3], graph, error))
    {
        std::cerr << argv[3] << ": " << error << std::endl;
        return 1;
    }
    for (int i = firstFile; i < argc; ++i)
        if (!addFileCurves(argv[i], graph, i == firstFile, error))
        {
            std::cerr << argv[i] << ": " << error << std::endl;
            return 1;
        }
    if (!writeFileAtomically(argv[1], renderSvg(graph, CLearningGraph::Title), error))
    {
        std::cerr << "Cannot write " << argv[1] << ": " << error << std::endl;
        return 1;
    }
    return 0;
}
