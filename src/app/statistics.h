#pragma once

#include "app/cshellstate.h"

class CGameController;
class CStatsFile;

// The file that s and l save the green brain pool to and load it from.
constexpr const char* kGreenPoolFile = "GreenAliens_saved.txt";
// The pools of evolved aliens that ship with the game (key e).
constexpr const char* kEvolvedGreenFile = "evolved/GreenAliens.txt";
constexpr const char* kEvolvedRedFile = "evolved/RedAliens.txt";

// The statistics file, the learning graph and the green brain file of a game, each handed the
// state it works on: the file, the session (its figures, graph and control world) and the
// game's world.

// A new statistics file, named after the time, and its figures and the learning graph from 0.
void openStatistics(CStatsFile& file, CShellState::SSession& session);
// The statistics' closing lines.
void closeStatistics(CStatsFile& file, const CShellState::SSession& session);
// After a world step of stepMs: the statistics' sample and line, and the learning graph's
// point (the session's own), each when its period of game time has ended.
void sampleStatistics(double stepMs, CStatsFile& file, CShellState::SSession& session, const CGameController& game);
void saveGreenBrains(const CGameController& game);
void loadGreenBrains(const CGameController& game);
// Both populations' pools and aliens from the evolved pools' files; false, with the reason on
// the standard error stream, when a file cannot be loaded.
bool loadEvolvedPools(const CGameController& game);
