#pragma once

#include <vector>

#include "aliens/calien.h"

class CBullet;

// The armed alien: moves like every alien, and a second network decides when its turning
// turret fires. Its fitness rewards long life and, by the rule chosen, hits on the gun and on
// red aliens against hits on green aliens, or hits on the gun and shots aimed at it.
class CAlien_Red : public CAlien
{
public:
    CAlien_Red(double x, double y, double mass);
    ~CAlien_Red() override; // deletes its bullets

    // A red alien keeps at most this many shots in flight: a decision to fire beyond them
    // fires nothing. The game's own values never go beyond it (a shot lives 77 steps and a
    // red alien may fire every 11th: eight at most); it bounds the shots of thousands of red
    // aliens firing every step across a large window, which would otherwise number millions
    // and take seconds a step.
    static constexpr int MaxShotsInFlight = 8;
    // The scores a red alien's brain may enter its pool with (CParams::Alien_Red_FitnessRule).
    // FITNESS_FIRST, the game's first: A^0.25 x (gun hits + 1)^2 x (red hits + 1)^2 /
    // ((green hits + 1)^3 x (blue hits + 1)^4), A its age in steps; it pays as much for a red
    // alien struck down as for a hit on the gun, and costs for green ones, so that red aliens
    // learn to shoot each other or not at all. FITNESS_FIGHTS_GUN: A^0.25 x (gun hits + 1)^4 x
    // (shots aimed at the gun + 1)^2, a shot fired aimed when the look-ahead of the attack
    // decision that fired it found the gun on the turret's line.
    static constexpr int FITNESS_FIRST = 0;
    static constexpr int FITNESS_FIGHTS_GUN = 1;
    static constexpr int NumFitnessRules = 2;

    void reset() override;
    using CAlien::decideAction;
    SAction decideAction(SVector2D gunPos, const CWorldView& world) override;
    void update(SAction action, double dt) override;
    double getFitness() override;

    const std::vector<CBullet*>& getBullets() const { return m_vBullets; }
    int getNumBullets() const { return static_cast<int>(m_vBullets.size()); }
    void removeBullet(int index);
    void addHit(int targetType);
    double getTurretAngle() const { return m_dTurretAngle; }
    // The angle (radians, counter-clockwise from +x) along which the attack decision looks.
    double getLookAheadAngle() const { return (90 - m_dTurretAngle) * 3.1415 / 180; }
    // The attack network's inputs of its last decision.
    const std::vector<double>& getAttackInputs() const { return m_vAttackInputs; }
    double getFireDelay() const { return m_dFireDelay; }
    int getGunHits() const { return m_iGunHits; }
    int getGreenHits() const { return m_iGreenHits; }
    int getRedHits() const { return m_iRedHits; }
    int getAimedShots() const { return m_iAimedShots; }
    bool firedInLastUpdate() const { return m_bFiredInLastUpdate; }

private:
    void fire();
    double firstScore() const;
    double fightingScore() const;
    void removeLostBullets();

    double m_dFireDelay;   // decisions left before the next attack decision
    double m_dTurretAngle; // degrees from straight up towards +x
    int m_iGunHits;
    int m_iBlueHits;
    int m_iGreenHits;
    int m_iRedHits;
    int m_iAimedShots; // shots fired while the look-ahead saw the gun on the turret's line
    bool m_bGunOnTheLine = false; // so the last attack decision's look-ahead saw it
    bool m_bFiredInLastUpdate = false;
    std::vector<CBullet*> m_vBullets; // owned, in firing order
    std::vector<double> m_vAttackInputs; // the look-ahead values, reused for every attack decision
};
