#include "aliens/calien.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <iostream>

#include "aliens/cgunbulletsense.h"
#include "app/cparams.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "brain/cneuralnet.h"
#include "files/kassert.h"

int CAlien::s_iLastId = 0;

namespace
{
constexpr double kAliveTimer = -9999.0;
constexpr int kNumSensors = 4;
constexpr int kNumLookAhead = 4;
constexpr int kLookAheadPopulations = 3;

using SensorBoxes = std::array<SRect, kNumSensors>;

// The four sensor boxes around an alien's box: up, right, down, left.
SensorBoxes sensorBoxes(const SRect& own)
{
    const double sW = CParams::Alien_Width * CParams::Alien_SensorWidthScale;
    const double sL = CParams::Alien_Height * CParams::Alien_SensorLengthScale;
    const double eW = sW - CParams::Alien_Width;
    const double rightEnd = own.right + sL < CParams::Window_Width ? own.right + sL : CParams::Window_Width;
    const double leftEnd = own.left - sL > 0 ? own.left - sL : 0;
    return {
        SRect(own.left - eW / 2, own.top + sL, own.right + eW / 2, own.top),
        SRect(own.right, own.top + eW / 2, rightEnd, own.bottom - eW / 2),
        SRect(own.left - eW / 2, own.bottom, own.right + eW / 2, own.bottom - sL),
        SRect(leftEnd, own.top + eW / 2, own.left, own.bottom - eW / 2),
    };
}

// The smallest box holding all four: one test against it turns most aliens away.
SRect unionOf(const SensorBoxes& boxes)
{
    SRect all = boxes[0];
    for (const SRect& box : boxes)
    {
        all.left = std::min(all.left, box.left);
        all.right = std::max(all.right, box.right);
        all.top = std::max(all.top, box.top);
        all.bottom = std::min(all.bottom, box.bottom);
    }
    return all;
}

// Time until the other alien meets this one along the sensor's axis; T when never.
double collisionTime(int direction, SVector2D pos, SVector2D vel, const SAlienMotion& other)
{
    const bool vertical = direction == 0 || direction == 2;
    const double d = vertical ? other.vPos.y - pos.y : other.vPos.x - pos.x;
    const double dv = vertical ? other.vVelocity.y - vel.y : other.vVelocity.x - vel.x;
    const double t = dv != 0 ? -d / dv : CParams::Alien_SensorMaxTime;
    return t < 0 ? CParams::Alien_SensorMaxTime : t;
}

// Has a box moving by step from here on left the target behind, so that the two can never
// overlap again? Each side only moves one way, so once past it stays past.
bool isPast(const SRect& box, SVector2D step, const SRect& target)
{
    const bool pastInX = step.x > 0 ? box.left > target.right
                         : step.x < 0 ? box.right < target.left
                                      : box.left > target.right || box.right < target.left;
    const bool pastInY = step.y > 0 ? box.bottom > target.top
                         : step.y < 0 ? box.top < target.bottom
                                      : box.bottom > target.top || box.top < target.bottom;
    return pastInX || pastInY;
}

// Time until the alien reaches the top or bottom of its zone; T for the side sensors.
double wallTime(int direction, SVector2D pos, SVector2D vel)
{
    if (direction == 0 && vel.y != 0)
        return ((CParams::Window_Height - CParams::Window_TopMargin) - pos.y) / vel.y;
    if (direction == 2 && vel.y != 0)
        return (pos.y - CParams::Window_BottomMargin) / (-vel.y);
    return CParams::Alien_SensorMaxTime;
}
} // namespace

CAlien::CAlien(double x, double y, double mass, int animationKind)
    : m_iId(++s_iLastId), m_iType(TYPE_NONE), m_vPos(x, y), m_vVelocity(0, 0), m_dMass(mass), m_iAge(0),
      m_iPrevAge(0), m_pBrain(nullptr), m_sLastAction(ACTION_UNDEFINED, ACTION_UNDEFINED), m_iState(ALIEN_DEAD),
      m_dStateTimer(0.0), m_animation(animationKind)
{
    std::vector<CNeuralNet*> vInitNN{new CNeuralNet(CParams::Alien_NN_Movement_NumInputs,
                                                    CParams::Alien_NN_Movement_NumOutputs,
                                                    CParams::Alien_NN_Movement_NumHiddenLayers,
                                                    CParams::Alien_NN_Movement_NeuronsPerHiddenLayer)};
    m_pBrain = new CBrain(vInitNN);
}

CAlien::~CAlien()
{
    delete m_pBrain;
}

void CAlien::setPosition(double x, double y)
{
    m_vPos = SVector2D(x, y);
}

SRect CAlien::getBoundingBox() const
{
    return rectAround(m_vPos.x, m_vPos.y, CParams::Alien_Width, CParams::Alien_Height);
}

void CAlien::mutateBrain()
{
    m_pBrain->mutate();
}

void CAlien::randomizeBrain()
{
    m_pBrain->randomize();
}

void CAlien::setState(int state)
{
    m_iState = state;
    if (state == ALIEN_ALIVE)
        m_dStateTimer = kAliveTimer;
    else if (state == ALIEN_DYING)
        m_dStateTimer = CParams::Alien_DyingTime;
    restartAnimation();
}

void CAlien::restartAnimation()
{
    m_animation.setFrame(0);
    m_animation.setTimeLeft(g_dAnimFrameTime[m_animation.getKind()][m_iState][0]);
}

int CAlien::getTextureId() const
{
    return g_iAnimTextureId[m_animation.getKind()][m_iState][m_animation.getFrame()];
}

void CAlien::reset()
{
    m_iPrevAge = m_iAge;
    m_iAge = 0;
    m_iState = ALIEN_BEING_BORN;
    m_dStateTimer = CParams::Alien_BeingBornTime;
    m_sLastAction = SAction(ACTION_UNDEFINED, ACTION_UNDEFINED);
    restartAnimation();
    m_vVelocity = SVector2D(0, 0);
}

void CAlien::update(SAction action, double dt)
{
    if (m_iState == ALIEN_ALIVE)
        ++m_iAge;
    advanceStateTimer(dt);
    advanceAnimation(dt);
    if (isActive())
        move(action, dt);
}

void CAlien::advanceStateTimer(double dt)
{
    if (m_iState == ALIEN_ALIVE)
        return;
    // Either count down or switch, never both in one update.
    if (m_dStateTimer > 0)
        m_dStateTimer -= dt;
    else if (m_iState == ALIEN_BEING_BORN)
        setState(ALIEN_ALIVE);
    else if (m_iState == ALIEN_DYING)
        setState(ALIEN_DEAD);
}

void CAlien::advanceAnimation(double dt)
{
    if (isEqual(m_animation.getTimeLeft(), ANIM_FRAME_HOLD))
        return;
    if (m_animation.getTimeLeft() > 0)
    {
        m_animation.setTimeLeft(m_animation.getTimeLeft() - dt);
        return;
    }
    const int frame = m_animation.getFrame() + 1;
    m_animation.setFrame(frame);
    m_animation.setTimeLeft(g_dAnimFrameTime[m_animation.getKind()][m_iState][frame]);
}

void CAlien::move(SAction action, double dt)
{
    const double F = CParams::Alien_MovementForce;
    SVector2D force(0, 0);
    switch (action.movement)
    {
    case ACTION_UP: force.y = F; break;
    case ACTION_DOWN: force.y = -F; break;
    case ACTION_LEFT: force.x = -F; break;
    case ACTION_RIGHT: force.x = F; break;
    default:
        std::cerr << "Undefined SAction.movement type passed to CAlien_Green::update" << std::endl;
        std::exit(-1);
    }
    const SVector2D acceleration(force.x / m_dMass, force.y / m_dMass);
    SVector2D vNewVelocity = acceleration * dt;
    vNewVelocity += m_vVelocity;
    // Over the limit the old velocity stays: it is refused, not clipped.
    if (Vec2DLength(vNewVelocity) <= CParams::Alien_MaxSpeed)
        m_vVelocity = vNewVelocity;
    m_vPos += m_vVelocity * dt;
    if (m_vPos.x > CParams::Window_Width)
        m_vPos.x = 0;
    if (m_vPos.x < 0)
        m_vPos.x = CParams::Window_Width;
    m_sLastAction = action;
}

std::array<SRect, 4> CAlien::getSensorBoxes() const
{
    return sensorBoxes(getBoundingBox());
}

std::vector<double> CAlien::getSensorValues(const PopulationList& populations) const
{
    const std::array<double, 4> values = sensorValues(CWorldView(populations));
    return std::vector<double>(values.begin(), values.end());
}

std::array<double, 4> CAlien::sensorValues(const CWorldView& world) const
{
    const SensorBoxes boxes = sensorBoxes(getBoundingBox());
    const SRect reach = unionOf(boxes);
    const double T = CParams::Alien_SensorMaxTime;
    std::array<double, 4> scariest;
    scariest.fill(T);
    // One pass over the aliens near the reach serves all four boxes: each keeps its minimum,
    // which does not depend on the order they come in.
    world.forEachAlienMotionNear(reach, [&](const SAlienMotion& other) {
        const SRect otherBox = rectAround(other.vPos.x, other.vPos.y, CParams::Alien_Width, CParams::Alien_Height);
        if (other.iId == m_iId || !rectsOverlap(reach, otherBox))
            return;
        for (int i = 0; i < kNumSensors; ++i)
            if (rectsOverlap(boxes[i], otherBox))
                scariest[i] = std::min(scariest[i], collisionTime(i, m_vPos, m_vVelocity, other));
    });
    for (int i = 0; i < kNumSensors; ++i)
    {
        const double w = wallTime(i, m_vPos, m_vVelocity);
        if (w > 0 && w < scariest[i])
            scariest[i] = w;
        scariest[i] /= T;
    }
    return scariest;
}

void CAlien::appendGunDistances(SVector2D gunPos, std::vector<double>& inputs) const
{
    const double x = m_vPos.x;
    const double g = gunPos.x;
    const double W = CParams::Window_Width;
    if (x > g)
    {
        inputs.push_back(x - g);
        inputs.push_back(W - (x - g));
        return;
    }
    inputs.push_back(W - (g - x));
    inputs.push_back(g - x);
}

const std::vector<double>& CAlien::movementInputs(SVector2D gunPos, const CWorldView& world)
{
    m_vInputs.clear();
    appendGunDistances(gunPos, m_vInputs);
    if (CParams::Alien_NN_Movement_UseSensors)
    {
        KA_ASSERT(CParams::Alien_NN_Movement_NumInputs >= 4);
        const std::array<double, 4> sensorBoxesVal = sensorValues(world);
        KA_ASSERT(sensorBoxesVal.size() == 4);
        m_vInputs.insert(m_vInputs.end(), sensorBoxesVal.begin(), sensorBoxesVal.end());
    }
    if (CParams::Alien_NN_Movement_GunBullets > 0)
        CGunBulletSense::append(getBoundingBox(), m_vPos.x, world,
                                static_cast<int>(CParams::Alien_NN_Movement_GunBullets), m_vInputs);
    return m_vInputs;
}

int CAlien::movementInputCount(bool sensors, int gunBullets)
{
    return 2 + (sensors ? kNumSensors : 0) + CGunBulletSense::InputsPerBullet * gunBullets;
}

SAction CAlien::decideAction(SVector2D gunPos, const PopulationList& populations)
{
    return decideAction(gunPos, CWorldView(populations));
}

SAction CAlien::decideAction(SVector2D gunPos, const CWorldView& world)
{
    if (!isActive())
        return SAction(ACTION_UNDEFINED, ACTION_UNDEFINED);
    return SAction(decideMovement(movementInputs(gunPos, world)), ACTION_UNDEFINED);
}

int CAlien::decideMovement(const std::vector<double>& inputs)
{
    CNeuralNet* ptrNNMovement = m_pBrain->getNN(0);
    KA_ASSERT(ptrNNMovement != NULL);
    const std::vector<double>& outputs = ptrNNMovement->update(inputs);
    KA_ASSERT(outputs.size() != 0);
    const double o0 = outputs[0] - 0.5;
    const double o1 = outputs[1] - 0.5;
    if (std::fabs(o0) > std::fabs(o1))
        return o0 < 0 ? ACTION_LEFT : ACTION_RIGHT;
    return o1 < 0 ? ACTION_DOWN : ACTION_UP;
}

double CAlien::getFitness()
{
    return -1.0;
}

void CAlien::setTrainingAction(SAction) {}

void CAlien::learn(double, SVector2D, double, std::vector<double>) {}

void CAlien::setLastAction(SAction) {}

SVector2D CAlien::getVectorToGun(SVector2D gunPos) const
{
    return SVector2D((gunPos.x - m_vPos.x) / CParams::Window_Width, (m_vPos.y - gunPos.y) / CParams::Window_Height);
}

std::vector<double> CAlien::getLookAheadValues(SVector2D gunPos, const PopulationList& populations, double angle,
                                               SVector2D* pWalkEnd) const
{
    const std::array<double, kNumLookAhead> values = lookAhead(gunPos, CWorldView(populations), angle, pWalkEnd);
    return std::vector<double>(values.begin(), values.end());
}

std::array<double, 4> CAlien::lookAhead(SVector2D gunPos, const CWorldView& world, double angle,
                                        SVector2D* pWalkEnd) const
{
    SRect sBox(m_vPos.x - CParams::Alien_Width / 1.5, m_vPos.y + CParams::Alien_Height / 1.5,
               m_vPos.x + CParams::Alien_Width / 1.5, m_vPos.y - CParams::Alien_Height / 1.5);
    const SRect sWindow(0, CParams::Window_Height, CParams::Window_Width, 0);
    const SRect sGunBox = rectAround(gunPos.x, gunPos.y, CParams::Gun_Width, CParams::Gun_Height);
    const SVector2D step(std::cos(angle) * CParams::Alien_Diagonal, std::sin(angle) * CParams::Alien_Diagonal);
    constexpr double kNotFound = -1.0;
    std::array<double, kNumLookAhead> results;
    results.fill(kNotFound);
    const int numPopulations = std::min<int>(kLookAheadPopulations, static_cast<int>(world.getPopulations().size()));

    while (rectsOverlap(sBox, sWindow))
    {
        // The last alien of the list touching the box counts; a population already found
        // ends this position's pass over the populations, so once population 0 is found no
        // population changes any more.
        if (results[0] == kNotFound)
        {
            const CAlien* last[kLookAheadPopulations];
            world.lastOverlappingEach(sBox, m_iId, numPopulations, last);
            for (int p = 0; p < numPopulations && results[p] == kNotFound; ++p)
                if (const CAlien* a = last[p])
                {
                    const SVector2D q = a->getPosition();
                    results[p] = (q.x - m_vPos.x) * (q.x - m_vPos.x) + (q.y - m_vPos.y) * (q.y - m_vPos.y);
                }
        }
        if (results[3] == kNotFound && rectsOverlap(sBox, sGunBox))
            results[3] = (gunPos.x - m_vPos.x) * (gunPos.x - m_vPos.x) + (gunPos.y - m_vPos.y) * (gunPos.y - m_vPos.y);
        // The rest of the walk could change nothing.
        if (results[0] != kNotFound && (results[3] != kNotFound || isPast(sBox, step, sGunBox)))
            break;
        sBox.left += step.x;
        sBox.right += step.x;
        sBox.top += step.y;
        sBox.bottom += step.y;
    }
    if (pWalkEnd)
        *pWalkEnd = SVector2D((sBox.left + sBox.right) / 2, (sBox.top + sBox.bottom) / 2);

    const double D2 = CParams::Window_Diagonal * CParams::Window_Diagonal;
    for (double& value : results)
        value = (value == kNotFound ? D2 : value) / D2;
    return results;
}

void CAlien::save(const char*) const
{
    std::cerr << "If you need CAlien::save, then come and fix it!" << std::endl;
}
