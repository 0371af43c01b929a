#include "view/cgameoverreport.h"

#include <cstdio>

#include "view/chud.h"

std::string CGameOverReport::minutes(double value)
{
    char text[64];
    std::snprintf(text, sizeof text, "%.1f game minutes", value);
    return text;
}

std::vector<std::string> CGameOverReport::lines(const CBestScores::SEntry& game, int place, const CBestScores& best,
                                                const std::string& playAgainKey)
{
    std::vector<std::string> lines{"GAME OVER: the aliens destroyed your gun", "",
                                   "score\t" + std::to_string(game.llScore),
                                   "survived\t" + CHud::clock(game.dSurvivedSeconds * 1000.0),
                                   "aliens evolving\t" + minutes(game.dEvolvedMinutes)};
    if (place == 0)
        lines.push_back("best\ta new best score!");
    else if (!best.entries().empty())
        lines.push_back("best\t" + std::to_string(best.entries().front().llScore) +
                        (place > 0 ? ", yours is number " + std::to_string(place + 1) : std::string()));
    lines.push_back("");
    lines.push_back(playAgainKey + "\tplay again: the same aliens, still evolving");
    return lines;
}
