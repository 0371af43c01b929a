#pragma once

#include "app/cgameperiod.h"

class CAlien_Population;
class CStatsFile;

// The statistics file's figures, sampled by game time as the learning graph is: every
// Stats_UpdateInterval of it the red population's dead since the last sample (added to the
// run's total) and its pool's best and worst fitness; every Stats_SaveInterval a line of them
// in the file, whose minutes are the game minutes that the saving periods ended. A pause adds
// no line and fast mode a line every Stats_SaveInterval of game time, however fast it passes.
// Its game time runs on over a new world, so that the file's minutes never go back.
class CGameStatistics
{
public:
    // Periods from the parameters as they stand; every figure back to 0.
    void reset();
    // After each world step of dtMs. True when a line reached the file whole.
    bool afterStep(double dtMs, CAlien_Population& reds, CStatsFile& file);

    int deadInPeriod() const { return m_iDeadInPeriod; }
    int totalDead() const { return m_iTotalDead; }
    double bestFitness() const { return m_dBest; }
    double worstFitness() const { return m_dWorst; }

private:
    CGamePeriod m_update{1.0};
    CGamePeriod m_save{1.0};
    double m_dGameMs = 0.0;
    int m_iDeadInPeriod = 0;
    int m_iTotalDead = 0;
    double m_dBest = 0.0;
    double m_dWorst = 0.0;
};
