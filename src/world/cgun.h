#pragma once

#include <vector>

#include "world/saction.h"
#include "world/utils.h"

class CBullet;

// The player's gun: slides along x near the bottom and shoots straight up while firing is on.
class CGun
{
public:
    CGun(double x, double y, double mass);
    CGun(const CGun&) = delete;
    CGun& operator=(const CGun&) = delete;
    ~CGun();

    void resetAction();
    void update(SAction action, double dt);
    void step(double dt) { update(m_sAction, dt); }
    // Takes the leader's last update in place of one of its own: where the leader stands and
    // how it moves, and the shot it fired in that update, from the same place. It draws no
    // random numbers and ignores its own keys, mode and fire interval.
    void follow(const CGun& leader);
    bool firedInLastUpdate() const { return m_bFiredInLastUpdate; }
    long long getShotsFired() const { return m_llShotsFired; }
    void setAction(SAction action);
    void setAutoMode(bool on) { m_bAutoMode = on; }
    bool isAutoMode() const { return m_bAutoMode; }
    void toggleFiring() { m_bFiring = !m_bFiring; }
    bool isFiring() const { return m_bFiring; }
    SAction getAction() const { return m_sAction; }

    SVector2D getPosition() const { return m_vPos; }
    SVector2D getVelocity() const { return m_vVelocity; }
    double getAngle() const { return m_dAngle; }
    SRect getRect() const;

    const std::vector<CBullet*>& getBullets() const { return m_vBullets; }
    void updateBullets(double dt);
    void removeBullet(unsigned index);
    void chooseRandomDirection();

private:
    void lowerCounters();
    void prepareNextAction(); // sets up the stored action for the next update
    void accelerate(SVector2D acceleration, double dt);
    void keepInsideWindow();
    void fireIfReady();
    void fire();

    bool m_bFiring;
    bool m_bAutoMode;
    int m_iFireCounter;      // world steps until the gun may shoot again
    int m_iDirectionCounter; // automatic mode: world steps until a new direction
    SVector2D m_vPos;
    SVector2D m_vVelocity;
    double m_dMass;
    double m_dAngle;
    SAction m_sAction;       // what the next update does
    bool m_bFiredInLastUpdate = false;
    long long m_llShotsFired = 0;
    std::vector<CBullet*> m_vBullets; // owned, oldest first
};
