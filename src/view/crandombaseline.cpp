#include "view/crandombaseline.h"

#include <algorithm>
#include <iostream>
#include <streambuf>

#include "app/cparams.h"
#include "brain/calien_population.h"
#include "view/cdeathsinperiod.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"

namespace
{
// While it lives, what is written to the stream goes nowhere.
class CMutedStream
{
public:
    explicit CMutedStream(std::ostream& stream) : m_stream(stream), m_pSaved(stream.rdbuf(&m_nowhere)) {}
    ~CMutedStream() { m_stream.rdbuf(m_pSaved); }
    CMutedStream(const CMutedStream&) = delete;
    CMutedStream& operator=(const CMutedStream&) = delete;

private:
    struct SNowhere : std::streambuf
    {
        int overflow(int c) override { return traits_type::not_eof(c); }
    } m_nowhere;
    std::ostream& m_stream;
    std::streambuf* m_pSaved;
};
} // namespace

long long CRandomBaseline::steps()
{
    const double stepMs = 1000.0 / CParams::Game_FramesPerSecond;
    const long long byTime = static_cast<long long>(kGameMinutes * 60000.0 / stepMs);
    const long long aliens = std::max(1LL, static_cast<long long>(CParams::Alien_NumberOfRed) +
                                                CParams::Alien_NumberOfGreen);
    return std::max(1LL, std::min(byTime, kAlienSteps / aliens));
}

CRandomBaseline::SMeans CRandomBaseline::measure(bool gunAuto)
{
    const CMutedStream quiet(std::cerr);
    CGameController world;
    world.setSeed(kSeed);
    world.setEvolution(false);
    world.init();
    if (gunAuto)
    {
        world.getGun()->setAutoMode(true);
        world.getGun()->toggleFiring();
    }
    const double stepMs = 1000.0 / CParams::Game_FramesPerSecond;
    for (long long step = steps(); step > 0; --step)
        world.update(stepMs);
    CDeathsInPeriod red, green;
    return {red.take(*world.getPopulations()[0]).dMeanFitness, green.take(*world.getPopulations()[1]).dMeanFitness};
}
