#pragma once

#include "view/cdeathsinperiod.h"
#include "view/clearninggraph.h"
#include "world/cworldtally.h"

class CGameController;

// Follows one world period by period for the learning graph and the learning file: the red
// and green aliens that died in each period, the mean fitness they carried and the newcomers
// their pools took in, the pools' best at the period's end, and the player's side from the
// world's tally. It reads running totals that nothing resets, so the statistics' resets of the
// death counts leave its periods whole. One instance follows one world from its init on; a
// new world (init again) needs a new one.
class CLearningRecorder
{
public:
    struct SPeriod
    {
        CDeathsInPeriod::SPeriod red;
        CDeathsInPeriod::SPeriod green;
        double dRedBest;
        double dGreenBest;
        CWorldTally tally; // what the world counted in the period

        CLearningGraph::SPeriod redForGraph() const { return {red.llDeaths, red.dMeanFitness, dRedBest}; }
        CLearningGraph::SPeriod greenForGraph() const { return {green.llDeaths, green.dMeanFitness, dGreenBest}; }
        CLearningGraph::SPlayerPeriod playerForGraph() const { return {tally.hitsOnGun(), tally.gunKills()}; }
    };

    // The period since the previous call, or since the world's init.
    SPeriod take(const CGameController& world);

private:
    CDeathsInPeriod m_red;
    CDeathsInPeriod m_green;
    CWorldTally m_lastTally;
};
