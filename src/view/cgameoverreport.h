#pragma once

#include <string>
#include <vector>

#include "app/cbestscores.h"

// What the end of a challenge says, as lines of a key and its text split by a tab (the help
// panel's form), the same in the window and on the page: the score, the time survived, how
// long the aliens had been evolving, where the score stands among the best kept, and how to
// play again against the same, still evolving aliens.
class CGameOverReport
{
public:
    // The game's entry and its place among the best (-1: not among them).
    static std::vector<std::string> lines(const CBestScores::SEntry& game, int place, const CBestScores& best,
                                          const std::string& playAgainKey);
    // "12.5 game minutes".
    static std::string minutes(double value);
};
