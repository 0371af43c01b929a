// Any parameter file is read and validated without a crash; every message is one short
// printable line; and a file the game would run on has usable derived values and keeps
// the values that bound the world's loops and memory within their limits.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "app/cparams.h"
#include "fuzzsupport.h"
#include "world/worldmemory.h"

namespace
{
bool isShortPrintableLine(const std::string& line)
{
    return line.size() < 1000 && std::all_of(line.begin(), line.end(), [](char c) { return c >= 0x20 && c < 0x7F; });
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CParams::resetToInitialValues();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const bool bComplete = CParams::readParameters(in);
    const std::vector<std::string> problems = CParams::validate("fuzz.ini");
    fuzzCheck(bComplete || problems.size() == 1, "an incomplete file gets exactly one line naming the missing value");
    for (const std::vector<std::string>& lines : {problems, CParams::warnings("fuzz.ini")})
        fuzzCheck(std::all_of(lines.begin(), lines.end(), isShortPrintableLine),
                  "every message is one short line of printable characters");
    if (!problems.empty())
        return 0;
    fuzzCheck(std::isfinite(CParams::Window_Diagonal) && CParams::Window_Diagonal > 0
                  && std::isfinite(CParams::Alien_Diagonal) && CParams::Alien_Diagonal > 0,
              "accepted parameters give finite, positive diagonals");
    fuzzCheck(CParams::Alien_Diagonal >= std::sqrt(2.0) && std::fabs(CParams::Alien_Red_TurretTurnRate) <= 360,
              "accepted parameters bound the look-ahead walk");
    fuzzCheck(estimateWorldBytes() <= CParams::MaxMemoryBytes, "accepted parameters fit the memory allowed");
    return 0;
}
