// Any parameter file is read and validated without a crash, and a file the game would run
// on has usable derived values.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "app/cparams.h"
#include "fuzzsupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CParams::resetToInitialValues();
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const bool bComplete = CParams::readParameters(in);
    const std::vector<std::string> problems = CParams::validate("fuzz.ini");
    fuzzCheck(bComplete || problems.size() == 1, "an incomplete file gets exactly one line naming the missing value");
    if (problems.empty())
        fuzzCheck(std::isfinite(CParams::Window_Diagonal) && CParams::Window_Diagonal > 0
                      && std::isfinite(CParams::Alien_Diagonal) && CParams::Alien_Diagonal > 0,
                  "accepted parameters give finite, positive diagonals");
    return 0;
}
