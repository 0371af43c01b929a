#include "sweep/csweepreport.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

namespace
{
constexpr int kShownOrder[2] = {CRunResult::Green, CRunResult::Red};
constexpr size_t kMissingNamed = 5; // missing runs named in a note; the rest are counted

std::string formatted(const char* format, double value)
{
    if (std::isnan(value))
        return "NA";
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// A run's figure among the others of its kind; NaN, nothing to count, is left out.
void addFigure(std::vector<double>& figures, double value)
{
    if (!std::isnan(value))
        figures.push_back(value);
}

double meanOf(const std::vector<double>& values)
{
    return CStatistics::mean(values).dValue;
}

// A ratio from its natural logarithm: "2.87", or beyond a double's two decimals' worth,
// "1.00e+623", told from the logarithm as the picture takes it.
std::string ratioText(double logRatio)
{
    if (std::isnan(logRatio))
        return "NA";
    if (std::fabs(logRatio) < std::log(1e15))
        return formatted("%.2f", std::exp(logRatio));
    const double decimal = logRatio / std::log(10.0);
    const double exponent = std::floor(decimal);
    char text[64];
    std::snprintf(text, sizeof text, "%.2fe%+.0f", std::pow(10.0, decimal - exponent), exponent);
    return text;
}

std::string scoreText(const CStatistics::SEstimate& logScore)
{
    if (logScore.iCount == 0)
        return "—";
    const std::string interval = std::isnan(logScore.dLow) ? "no interval from one seed"
                                                           : ratioText(logScore.dLow) + "–" + ratioText(logScore.dHigh);
    return ratioText(logScore.dValue) + " (" + interval + ")";
}

std::string pairText(const double (&values)[2], const char* format, const char* unit)
{
    return formatted(format, values[0]) + unit + " / " + formatted(format, values[1]) + unit;
}
} // namespace

CSweepReport::CSweepReport(const CSweepFile& sweep, const std::string& title, const std::vector<CJobList::SJob>& jobs,
                           const std::vector<const CRunResult*>& summaries)
    : m_sweep(sweep), m_sTitle(title), m_vJobs(jobs), m_vSummaries(summaries)
{
    const std::vector<CSweepFile::Setting> all = sweep.settings();
    const size_t settings = all.size();
    const size_t seeds = sweep.seeds().size();
    // Runs by setting and seed, in the order of the sweep's seeds.
    std::map<unsigned, size_t> seedIndex;
    for (size_t k = 0; k < seeds; ++k)
        seedIndex[sweep.seeds()[k]] = k;
    std::vector<std::vector<const CRunResult*>> evolution(settings, std::vector<const CRunResult*>(seeds));
    std::vector<std::vector<const CRunResult*>> control = evolution;
    std::vector<std::vector<std::string>> missing(settings);
    for (size_t i = 0; i < jobs.size(); ++i)
    {
        const CJobList::SJob& job = jobs[i];
        (job.bEvolution ? evolution : control)[job.iSetting][seedIndex[job.uSeed]] = summaries[i];
        if (!summaries[i])
            missing[job.iSetting].push_back(job.sName);
    }
    for (size_t s = 0; s < settings; ++s)
    {
        if (!missing[s].empty())
        {
            std::string names;
            for (size_t k = 0; k < std::min(missing[s].size(), kMissingNamed); ++k)
                names += (k ? ", " : "") + missing[s][k];
            if (missing[s].size() > kMissingNamed)
                names += " and " + std::to_string(missing[s].size() - kMissingNamed) + " more";
            m_vNotes.push_back(std::to_string(missing[s].size()) + " runs have not finished: " + names);
        }
        addSetting(CJobList::settingLabel(s, settings), all[s], evolution[s], control[s]);
    }
}

void CSweepReport::addSetting(const std::string& label, const CSweepFile::Setting& values,
                              const std::vector<const CRunResult*>& evolution,
                              const std::vector<const CRunResult*>& control)
{
    SSetting setting;
    for (size_t m = 0; m < values.size(); ++m)
        setting.vValues.push_back(m_sweep.members()[m].vValues[values[m]]);
    setting.sLabel = label;
    for (size_t k = 0; k < evolution.size(); ++k)
        setting.iSeedsPaired += evolution[k] && control[k];
    for (const int population : {CRunResult::Red, CRunResult::Green})
        setting.asPopulations[population] = figuresOf(population, evolution, control, setting.sLabel);
    addWhatStruck(setting, evolution, control);
    m_vSettings.push_back(setting);
}

// NaN where no run finished, or nothing was struck down.
void CSweepReport::addWhatStruck(SSetting& setting, const std::vector<const CRunResult*>& evolution,
                                 const std::vector<const CRunResult*>& control)
{
    double struck[CWorldTally::NumCauses] = {};
    double total = 0.0;
    for (const CRunResult* run : evolution)
        for (int cause = 0; run && cause < CWorldTally::NumCauses; ++cause)
            for (const int population : {CRunResult::Red, CRunResult::Green})
            {
                struck[cause] += run->population(population).adStruckDownBy[cause];
                total += run->population(population).adStruckDownBy[cause];
            }
    for (int cause = 0; cause < CWorldTally::NumCauses; ++cause)
        setting.adCauseShares[cause] = total > 0.0 ? struck[cause] / total : std::nan("");
    const std::vector<const CRunResult*>* kinds[2] = {&evolution, &control};
    for (int kind = 0; kind < 2; ++kind)
    {
        setting.adGunHitsPerMinute[kind] = perMinute(*kinds[kind], &CRunResult::redBulletsOnGun);
        setting.adGunKillsPerMinute[kind] = perMinute(*kinds[kind], &CRunResult::gunKills);
    }
}

// The mean over the finished runs of a count a minute of game time; NaN without one.
double CSweepReport::perMinute(const std::vector<const CRunResult*>& runs, double (CRunResult::*count)() const)
{
    std::vector<double> rates;
    for (const CRunResult* run : runs)
        if (run)
            rates.push_back((run->*count)() * 60.0 * run->framesPerSecond() / run->steps());
    return rates.empty() ? std::nan("") : meanOf(rates);
}

CSweepReport::SFigures CSweepReport::figuresOf(int population, const std::vector<const CRunResult*>& evolution,
                                               const std::vector<const CRunResult*>& control,
                                               const std::string& label)
{
    const std::string name = CRunResult::PopulationNames[population];
    std::vector<double> numerators, denominators, alive[2], lifetime[2];
    for (size_t k = 0; k < evolution.size(); ++k)
    {
        const CRunResult* runs[2] = {evolution[k], control[k]};
        for (int kind = 0; kind < 2; ++kind)
            if (runs[kind])
            {
                const CRunResult::SPopulation& figures = runs[kind]->population(population);
                addFigure(alive[kind], figures.dAliveShare);
                addFigure(lifetime[kind], figures.dMeanLifetimeSteps / runs[kind]->framesPerSecond());
            }
        if (!runs[0] || !runs[1])
            continue;
        const double last[2] = {runs[0]->population(population).adFitnessOfDeaths[2],
                                runs[1]->population(population).adFitnessOfDeaths[2]};
        const std::string seed = label + ", seed " + std::to_string(m_sweep.seeds()[k]) + ", " + name + ": ";
        for (int kind = 0; kind < 2; ++kind)
            if (std::isnan(last[kind]) || last[kind] <= 0.0)
                m_vNotes.push_back(seed + "left out: " +
                                   (std::isnan(last[kind]) ? std::string("no deaths") : "a mean fitness of deaths of " +
                                                                                            formatted("%g", last[kind])) +
                                   " in the last third of the run " + (kind == 0 ? "with evolution" : "with --control"));
        if (last[0] > 0.0 && last[1] > 0.0)
        {
            numerators.push_back(last[0]);
            denominators.push_back(last[1]);
        }
    }
    return {CStatistics::ratio(numerators, denominators), CStatistics::logRatio(numerators, denominators),
            {meanOf(alive[0]), meanOf(alive[1])},
            {meanOf(lifetime[0]), meanOf(lifetime[1])}};
}

std::string CSweepReport::tsv() const
{
    std::string text;
    for (const CSweepFile::SMember& member : m_sweep.members())
        text += member.sName + "\t";
    text += "seed\tevolution\tsteps";
    for (const char* population : CRunResult::PopulationNames)
        for (const char* figure : {"deaths", "fitness_of_deaths_first", "fitness_of_deaths_middle",
                                   "fitness_of_deaths_last", "alive_share", "mean_lifetime_steps", "pool_best",
                                   "pool_mean", "pool_worst"})
            text += std::string("\t") + population + "_" + figure;
    for (const char* population : CRunResult::PopulationNames)
        for (const CWorldTally::SCause& cause : CWorldTally::Causes)
            text += std::string("\t") + population + "_struck_down_by_" + cause.szKey;
    text += "\tred_bullets_on_gun\tgun_shots\tgun_kills\tred_on_red\tred_on_green\n";
    for (size_t i = 0; i < m_vJobs.size(); ++i)
    {
        const CRunResult* run = m_vSummaries[i];
        if (!run)
            continue;
        for (const std::string& value : m_vSettings[m_vJobs[i].iSetting].vValues)
            text += value + "\t";
        text += std::to_string(run->seed()) + "\t" + (run->evolution() ? "1" : "0") + "\t" +
                std::to_string(run->steps());
        for (const int population : {CRunResult::Red, CRunResult::Green})
        {
            const CRunResult::SPopulation& p = run->population(population);
            for (const double value : {p.dDeaths, p.adFitnessOfDeaths[0], p.adFitnessOfDeaths[1],
                                       p.adFitnessOfDeaths[2], p.dAliveShare, p.dMeanLifetimeSteps, p.dPoolBest,
                                       p.dPoolMean, p.dPoolWorst})
                text += "\t" + formatted("%.10g", value);
        }
        for (const int population : {CRunResult::Red, CRunResult::Green})
            for (const CWorldTally::SCause& cause : CWorldTally::Causes)
                text += "\t" + formatted("%.10g", run->population(population).adStruckDownBy[cause.iCause]);
        for (const double count : {run->redBulletsOnGun(), run->gunShots(), run->gunKills(), run->redOnRed(),
                                   run->redOnGreen()})
            text += "\t" + formatted("%.10g", count);
        text += "\n";
    }
    return text;
}

std::string CSweepReport::markdown() const
{
    std::string text = m_sTitle + "\n\n| setting |";
    std::string rule = "|---|";
    for (const CSweepFile::SMember& member : m_sweep.members())
    {
        text += " " + member.sName + " |";
        rule += "---|";
    }
    for (const char* heading : {"green learning score", "red learning score"})
        text += std::string(" ") + heading + " |";
    for (const char* heading : {"green alive", "red alive", "green lifetime (s)", "red lifetime (s)"})
        text += std::string(" ") + heading + ", evolution / control |";
    text += " struck down with evolution:";
    for (const CWorldTally::SCause& cause : CWorldTally::Causes)
        text += std::string(&cause == CWorldTally::Causes ? " " : " / ") + cause.szWords;
    text += " |";
    text += " red bullets on the gun a minute, evolution / control |";
    text += " the gun's kills a minute, evolution / control |";
    text += " seeds |\n" + rule + "---|---|---|---|---|---|---|---|---|---|\n";
    for (const SSetting& setting : m_vSettings)
        text += tableRow(setting);
    text += "\nLearning score: seed by seed, the mean fitness of the aliens that died in the last third of the run "
            "with evolution divided by the same with --control; over the seeds, the geometric mean of these "
            "ratios and in brackets its 95 % confidence interval (Student's t on the logarithms of the ratios). "
            "1 is no learning. Alive: the share of alien-steps spent alive, neither being born nor dying. "
            "Lifetime: the mean time the aliens that died had been alive, in seconds of game time. Struck down: "
            "of the red and green aliens that started dying in the runs with evolution, the share hit by a bullet "
            "of the gun or of a red alien, run into another alien, or gone over the band's edge. Red bullets on "
            "the gun, and the gun's kills (the red and green aliens its bullets struck down): per minute of game time, "
            "the player's measures of how dangerous and how hard to hit the aliens are. Seeds: those whose two "
            "runs finished.\n";
    if (!m_vNotes.empty())
    {
        text += "\n";
        for (const std::string& note : m_vNotes)
            text += "- " + note + "\n";
    }
    return text;
}

std::string CSweepReport::tableRow(const SSetting& setting) const
{
    std::string row = "| " + setting.sLabel + " |";
    for (const std::string& value : setting.vValues)
        row += " " + value + " |";
    for (const int population : kShownOrder)
        row += " " + scoreText(setting.asPopulations[population].sLogScore) + " |";
    double alive[2][2];
    for (const int population : kShownOrder)
    {
        for (int kind = 0; kind < 2; ++kind)
            alive[population][kind] = 100.0 * setting.asPopulations[population].adAliveShare[kind];
        row += " " + pairText(alive[population], "%.0f", " %") + " |";
    }
    for (const int population : kShownOrder)
        row += " " + pairText(setting.asPopulations[population].adLifetimeSeconds, "%.2f", "") + " |";
    std::string shares;
    for (const CWorldTally::SCause& cause : CWorldTally::Causes)
        shares += (&cause == CWorldTally::Causes ? "" : " / ") +
                  formatted("%.0f", 100.0 * setting.adCauseShares[cause.iCause]);
    row += " " + shares + " % | " + pairText(setting.adGunHitsPerMinute, "%.1f", "") + " | " +
           pairText(setting.adGunKillsPerMinute, "%.1f", "") + " |";
    return row + " " + std::to_string(setting.iSeedsPaired) + " |\n";
}
