// Any brain pool file is loaded or refused without a crash or leak: a refused file leaves the
// pool as it was, an accepted one keeps at most a full pool that the save accepts, and what
// it saves loads back and saves again unchanged.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "app/cparams.h"
#include "brain/calien_population.h"
#include "brain/cneuralnet.h"
#include "fuzzsupport.h"

namespace
{
const CSilencedStandardError g_silence;

using PoolSnapshot = std::vector<std::pair<double, std::string>>;

PoolSnapshot snapshot(const CAlien_Population& population)
{
    PoolSnapshot entries;
    for (const auto& entry : population.getPool())
        entries.emplace_back(entry.first, savedText(*entry.second));
    return entries;
}

std::string savedPool(const CAlien_Population& population)
{
    std::ostringstream out;
    population.save(out);
    return out.str();
}

void checkRoundTrip(const CAlien_Population& population)
{
    const std::string saved = savedPool(population);
    CAlien_Population copy;
    std::istringstream in(saved);
    fuzzCheck(copy.load(in, "saved pool"), "a saved pool loads back");
    fuzzCheck(copy.getPool().size() == population.getPool().size(), "a reloaded pool keeps every entry");
    fuzzCheck(savedPool(copy) == saved, "a reloaded pool saves the same file");
}
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzzCheck(CParams().loadParameters(KA_PARAMS_FILE) && CParams::validate(KA_PARAMS_FILE).empty(),
              "the shipped parameters load");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    CAlien_Population population;
    CBrain brain({new CNeuralNet(6, 2, 1, 8)});
    population.addToPool(&brain, 2.5);
    population.addToPool(&brain, 1.0);
    const PoolSnapshot before = snapshot(population);

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    if (!population.load(in, "fuzzed pool"))
    {
        fuzzCheck(snapshot(population) == before, "a refused pool file leaves the pool as it was");
        return 0;
    }
    fuzzCheck(static_cast<int>(population.getPool().size()) <= CParams::Alien_NumberInPool,
              "a loaded pool is at most full");
    std::string reason;
    fuzzCheck(population.isSavable(reason), "a loaded pool is one the save writes");
    checkRoundTrip(population);
    return 0;
}
