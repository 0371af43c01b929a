#include "view/clearningrecorder.h"

#include "brain/calien_population.h"
#include "world/cgamecontroller.h"

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;
} // namespace

CLearningRecorder::SPeriod CLearningRecorder::take(const CGameController& world)
{
    const auto populations = world.getPopulations();
    SPeriod period{m_red.take(*populations[kRed]), m_green.take(*populations[kGreen]),
                   populations[kRed]->getBestFitness(), populations[kGreen]->getBestFitness(),
                   world.getTally().since(m_lastTally)};
    m_lastTally = world.getTally();
    return period;
}
