// Any brain record is loaded or refused without a crash or leak: a refused record leaves the
// brain as it was, an accepted one saves a record that loads back to the same shapes and
// saves again unchanged (the record keeps six significant digits of each weight).
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "fuzzsupport.h"

namespace
{
const CSilencedStandardError g_silence;

std::vector<int> weightCountsOf(const CBrain& brain)
{
    std::vector<int> counts;
    for (int i = 0; i < brain.getNumberOfNN(); ++i)
        counts.push_back(brain.getNN(i)->getNumberOfWeights());
    return counts;
}

void checkRoundTrip(const CBrain& brain)
{
    const std::string saved = savedText(brain);
    CBrain copy;
    std::istringstream in(saved);
    std::string error;
    fuzzCheck(copy.load(in, error), "a saved brain loads back");
    fuzzCheck(weightCountsOf(copy) == weightCountsOf(brain), "saving and loading a brain keeps its shapes");
    fuzzCheck(savedText(copy) == saved, "a reloaded brain saves the same record");
}

void loadInto(CBrain& brain, const std::string& record)
{
    const bool bWasInitialized = brain.isInitialized();
    const std::string before = savedText(brain);
    std::istringstream in(record);
    std::string error;
    if (brain.load(in, error))
    {
        checkRoundTrip(brain);
        return;
    }
    fuzzCheck(!error.empty(), "a refused brain record says why");
    fuzzCheck(brain.isInitialized() == bWasInitialized && savedText(brain) == before,
              "a refused brain record leaves the brain as it was");
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string record(reinterpret_cast<const char*>(data), size);
    CBrain fresh;
    loadInto(fresh, record);
    CBrain initialised({new CNeuralNet(2, 1, 1, 2), new CNeuralNet(4, 1, 0, 0)});
    loadInto(initialised, record);
    return 0;
}
