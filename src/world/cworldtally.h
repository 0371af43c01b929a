#pragma once

#include <array>

// Why an alive alien started dying.
constexpr int CAUSE_NONE = -1;
constexpr int CAUSE_COLLISION = 0;  // it touched another alive alien or the trainee
constexpr int CAUSE_GUN_BULLET = 1; // a bullet of the player's gun
constexpr int CAUSE_RED_BULLET = 2; // a red alien's bullet
constexpr int CAUSE_EDGE = 3;       // it left the band it flies in

// What the world step counted since init, for the player's display and for measuring a
// run in the player's terms: the aliens of each population struck down, by cause, the red
// bullets that hit the gun, and the shots the gun and the red aliens fired. Nothing in the
// world reads it, so counting changes no result.
class CWorldTally
{
public:
    static constexpr int NumCauses = 4;
    static constexpr int NumPopulations = 3;
    // Each cause with its key in summaries and tables and its words in headings, in the order
    // every report shows them. Writers take key, words and number from one entry, so that a
    // heading can never be paired with another cause's number.
    struct SCause
    {
        int iCause;
        const char* szKey;
        const char* szWords;
    };
    static const SCause Causes[NumCauses];

    void addDeath(int population, int cause) { ++m_aaDeaths[population][cause]; }
    void addHitOnGun() { ++m_llHitsOnGun; }
    void addGunShot() { ++m_llGunShots; }
    void addRedShot() { ++m_llRedShots; }

    long long deaths(int population, int cause) const { return m_aaDeaths[population][cause]; }
    long long hitsOnGun() const { return m_llHitsOnGun; }
    long long gunShots() const { return m_llGunShots; }
    long long redShots() const { return m_llRedShots; }
    // Aliens of every population struck down, whatever struck them.
    long long deathsOfAll() const;
    // Aliens of every population struck down by the gun's bullets.
    long long gunKills() const;
    // What was counted after the earlier tally of the same world: a period's counts.
    CWorldTally since(const CWorldTally& earlier) const;

private:
    std::array<std::array<long long, NumCauses>, NumPopulations> m_aaDeaths{};
    long long m_llHitsOnGun = 0;
    long long m_llGunShots = 0;
    long long m_llRedShots = 0;
};
