#pragma once

#include <array>
#include <vector>

#include "aliens/calienanimation.h"
#include "world/cworldview.h"
#include "world/saction.h"
#include "world/utils.h"

class CBrain;

// Type codes; they double as the target codes of a red alien's hits.
constexpr int TYPE_RED = 0;
constexpr int TYPE_GREEN = 1;
constexpr int TYPE_BLUE = 2;
constexpr int TYPE_GUN = 3;
constexpr int TYPE_NONE = 4;

// Life states; 2 is never entered.
constexpr int ALIEN_BEING_BORN = 0;
constexpr int ALIEN_ALIVE = 1;
constexpr int ALIEN_DYING = 3;
constexpr int ALIEN_DEAD = 4;

constexpr int ANIM_GREEN = 0;
constexpr int ANIM_RED = 1;

// What every alien ship shares: physics with a speed limit and horizontal wrap-around, the
// life cycle with its timers and animation, the collision sensors, and the brain.
class CAlien
{
public:
    CAlien(double x, double y, double mass, int animationKind);
    virtual ~CAlien(); // deletes the brain
    CAlien(const CAlien&) = delete;
    CAlien& operator=(const CAlien&) = delete;

    // Time to the most threatening collision up, right, down and left, over the horizon.
    virtual std::vector<double> getSensorValues(const PopulationList& populations) const;
    std::array<double, 4> sensorValues(const CWorldView& world) const;
    // The movement network's choice of push; {255, 255} for a dead alien.
    SAction decideAction(SVector2D gunPos, const PopulationList& populations);
    virtual SAction decideAction(SVector2D gunPos, const CWorldView& world);
    virtual void update(SAction action, double dt);
    virtual double getFitness();
    virtual void reset();
    virtual void setTrainingAction(SAction action);
    virtual void learn(double dt, SVector2D gunPos, double gunAngle, std::vector<double> sensorValues);
    virtual void setLastAction(SAction action);

    int getId() const { return m_iId; }
    int getType() const { return m_iType; }
    int getState() const { return m_iState; }
    int getAge() const { return m_iAge; }
    int getPrevAge() const { return m_iPrevAge; }
    double getStateTimer() const { return m_dStateTimer; }
    SAction getLastAction() const { return m_sLastAction; }
    const CAlienAnimation& getAnimation() const { return m_animation; }
    bool isActive() const { return m_iState != ALIEN_DEAD; }
    SVector2D getPosition() const { return m_vPos; }
    SVector2D getVelocity() const { return m_vVelocity; }
    void setPosition(double x, double y);
    void setVelocity(SVector2D velocity) { m_vVelocity = velocity; }
    SRect getBoundingBox() const;

    CBrain* getBrain() const { return m_pBrain; }
    void setBrain(CBrain* pBrain) { m_pBrain = pBrain; } // takes ownership; the old one is the caller's
    void mutateBrain();
    void randomizeBrain();
    void setState(int state);
    int getTextureId() const;

    // The four collision sensor boxes around the alien's box: up, right, down, left.
    std::array<SRect, 4> getSensorBoxes() const;
    // The movement network's inputs of its last decision.
    const std::vector<double>& getMovementInputs() const { return m_vInputs; }
    // How many inputs the movement network takes: the gun's two distances, the four sensors
    // when they are on, and two for each of the gun's bullets it sees.
    static int movementInputCount(bool sensors, int gunBullets);

    SVector2D getVectorToGun(SVector2D gunPos) const;
    // The attack network's inputs: what lies along the line at the given angle (radians).
    // With pWalkEnd, also the centre of the box where the walk along the line stopped.
    std::vector<double> getLookAheadValues(SVector2D gunPos, const PopulationList& populations, double angle,
                                           SVector2D* pWalkEnd = nullptr) const;
    std::array<double, 4> lookAhead(SVector2D gunPos, const CWorldView& world, double angle,
                                    SVector2D* pWalkEnd = nullptr) const;
    void save(const char* szFileName) const;

protected:
    // Appends the two distances along x to the gun, leftwards and rightwards around the wrap.
    void appendGunDistances(SVector2D gunPos, std::vector<double>& inputs) const;
    // The gun distances, then the sensor values when sensors are on, then the gun's bullets
    // coming at it when it sees them; a buffer of this alien's, valid until the next call.
    const std::vector<double>& movementInputs(SVector2D gunPos, const CWorldView& world);
    // The movement network's choice among the four pushes for the given inputs.
    int decideMovement(const std::vector<double>& inputs);

    int m_iId;
    int m_iType;
    SVector2D m_vPos;
    SVector2D m_vVelocity;
    double m_dMass;
    int m_iAge;      // updates begun alive in this life
    int m_iPrevAge;  // the age the previous life reached
    CBrain* m_pBrain; // owned
    SAction m_sLastAction;
    int m_iState;
    double m_dStateTimer;
    CAlienAnimation m_animation;
    std::vector<double> m_vInputs; // the movement network's last inputs, reused every step

private:
    void advanceStateTimer(double dt);
    void advanceAnimation(double dt);
    void move(SAction action, double dt);
    void restartAnimation();

    static int s_iLastId;
};
