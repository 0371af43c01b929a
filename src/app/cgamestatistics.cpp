#include "app/cgamestatistics.h"

#include "app/cparams.h"
#include "app/cstatsfile.h"
#include "brain/calien_population.h"

void CGameStatistics::reset()
{
    *this = CGameStatistics();
    m_update = CGamePeriod(CParams::Stats_UpdateInterval);
    m_save = CGamePeriod(CParams::Stats_SaveInterval);
}

bool CGameStatistics::afterStep(double dtMs, CAlien_Population& reds, CStatsFile& file)
{
    m_dGameMs += dtMs;
    if (m_update.isDue(m_dGameMs))
    {
        m_iDeadInPeriod = reds.getNumDead();
        m_iTotalDead += m_iDeadInPeriod;
        reds.setNumDead(0);
        m_dBest = reds.getBestFitness();
        m_dWorst = reds.getWorstFitness();
    }
    if (!m_save.isDue(m_dGameMs))
        return false;
    const double minutes = m_save.periodsEnded() * m_save.periodMs() / 60000.0;
    return file.saveLine(minutes, m_iDeadInPeriod, m_dBest, m_dWorst);
}
