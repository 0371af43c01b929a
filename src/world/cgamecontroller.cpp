#include "world/cgamecontroller.h"

#include <ctime>
#include <iostream>

#include "aliens/calien_green.h"
#include "aliens/calien_green_trainee.h"
#include "aliens/calien_red.h"
#include "app/cparams.h"
#include "brain/calien_population.h"
#include "brain/cbrain.h"
#include "world/cbullet.h"
#include "world/cgun.h"
#include "world/worldbounds.h"
#include "files/kassert.h"

namespace
{
constexpr int kRed = 0;
constexpr int kGreen = 1;

template <typename TAlien> std::vector<CAlien*> makeAliens(int count)
{
    std::vector<CAlien*> aliens;
    for (int i = 0; i < count; ++i)
        aliens.push_back(new TAlien(0.0, 0.0, CParams::Alien_Mass));
    return aliens;
}
} // namespace

CGameController::CGameController()
    : m_bInitialized(false), m_iMode(MODE_PLAYER), m_pGun(nullptr), m_pTrainee(nullptr), m_bEvolution(true),
      m_llTriesLeft(MaxTriesPerSearch), m_bToldNoFreePlace(false), m_bSeeded(false), m_uSeed(0)
{
}

CGameController::~CGameController()
{
    clear();
}

void CGameController::clear()
{
    for (CAlien_Population* population : m_vPopulations)
    {
        for (CAlien* alien : population->getAliens())
            delete alien;
        delete population;
    }
    m_vPopulations.clear();
    delete m_pTrainee;
    m_pTrainee = nullptr;
    delete m_pGun;
    m_pGun = nullptr;
    // The index points into the world it filed: a new world is filed anew.
    m_index = CWorldIndex();
    m_bIndexCurrent = false;
    m_bToldNoFreePlace = false;
    m_bInitialized = false;
}

void CGameController::setSeed(unsigned seed)
{
    m_bSeeded = true;
    m_uSeed = seed;
}

void CGameController::init()
{
    clear();
    if (!m_bSeeded)
        m_uSeed = static_cast<unsigned>(std::time(nullptr));
    m_random.seed(m_uSeed);
    m_recordRandom.seed(m_uSeed);
    const CRandom::CScope draws(m_random);
    warnIfCrowded();
    startSearches();
    m_tally = CWorldTally();
    m_pGun = new CGun(200.0, 60.0, CParams::Gun_Mass);
    m_pGun->resetAction();
    if (m_iMode == MODE_TRAINING)
        createTrainee();
    m_vPopulations.push_back(new CAlien_Population(this, CParams::Alien_NumberOfRed, CParams::Alien_NumberInPool));
    m_vPopulations.push_back(new CAlien_Population(this, CParams::Alien_NumberOfGreen, CParams::Alien_NumberInPool));
    m_vPopulations.push_back(new CAlien_Population(this, CParams::Alien_NumberOfGreen, CParams::Alien_NumberInPool));
    setPoolFading();
    // The aliens are filed as the populations take them in, one free place after another.
    m_index.sync(m_vPopulations, *m_pGun);
    m_bIndexCurrent = true;
    m_vPopulations[kGreen]->initialize(makeAliens<CAlien_Green>(CParams::Alien_NumberOfGreen));
    m_vPopulations[kRed]->initialize(makeAliens<CAlien_Red>(CParams::Alien_NumberOfRed));
    m_bIndexCurrent = false;
    startSearches();
    m_bInitialized = true;
}

void CGameController::setPoolFading()
{
    m_vPopulations[kRed]->setFade(CPoolFade(CParams::Alien_Red_PoolHalfLife));
    m_vPopulations[kGreen]->setFade(CPoolFade(CParams::Alien_Green_PoolHalfLife));
}

void CGameController::createTrainee()
{
    m_pTrainee = new CAlien_Green_Trainee(100.0, 200.0, CParams::Alien_Mass);
    m_pTrainee->reset();
    m_pTrainee->setLastAction(SAction(ACTION_RIGHT, ACTION_UNDEFINED));
    m_pTrainee->setTrainingAction(SAction(ACTION_RIGHT, ACTION_UNDEFINED));
}

std::vector<CAlien_Population*> CGameController::getPopulations() const
{
    KA_ASSERT(m_bInitialized);
    return m_vPopulations;
}

void CGameController::update(double dt)
{
    KA_ASSERT(m_bInitialized);
    const CRandom::CScope draws(m_random);
    startSearches();
    // Between steps anything may have moved the aliens; within the step every move is reported.
    if (!m_bReferenceQueries)
        m_index.sync(m_vPopulations, *m_pGun);
    m_bIndexCurrent = true;
    updateGun(dt);
    for (CAlien_Population* population : m_vPopulations)
        population->passTime(dt);
    for (int p = 0; p < static_cast<int>(m_vPopulations.size()); ++p)
        updatePopulation(p, dt);
    updateTrainee(dt);
    m_bIndexCurrent = false;
    startSearches();
}

CWorldView CGameController::worldView() const
{
    return CWorldView(m_vPopulations, m_bReferenceQueries ? nullptr : &m_index, &m_pGun->getBullets());
}

// A query from outside a step sees the world as it is now; within one, the new aliens the
// populations took in since the last query are filed first.
void CGameController::prepareQueries()
{
    if (m_bReferenceQueries)
        return;
    if (m_bIndexCurrent)
        m_index.fileNewAliens();
    else
        m_index.sync(m_vPopulations, *m_pGun);
}

void CGameController::updateGun(double dt)
{
    if (m_pGunLeader)
        m_pGun->follow(*m_pGunLeader);
    else
        m_pGun->step(dt);
    // A red bullet touching the gun is removed and credited to its alien.
    prepareQueries();
    if (collisionCause(m_pGun->getRect(), true, -1, TYPE_GUN) == CAUSE_RED_BULLET)
        m_tally.addHitOnGun();
    if (m_pGun->firedInLastUpdate())
        m_tally.addGunShot();
    m_pGun->updateBullets(dt);
    unsigned i = 0;
    while (i < m_pGun->getBullets().size())
    {
        if (m_pGun->getBullets()[i]->getRect().top > CParams::Window_Height)
            m_pGun->removeBullet(i);
        else
            ++i;
    }
    if (!m_bReferenceQueries)
        m_index.gunBulletsChanged();
}

void CGameController::updatePopulation(int populationIndex, double dt)
{
    // Aliens born during this step are appended; they act from the next one on.
    CAlien_Population* population = m_vPopulations[populationIndex];
    const int count = static_cast<int>(population->getAliens().size());
    const SVector2D gunPos = m_pGun->getPosition();
    for (int i = 0; i < count; ++i)
        updateAlien(populationIndex, i, gunPos, dt);
}

void CGameController::updateAlien(int populationIndex, int index, SVector2D gunPos, double dt)
{
    CAlien_Population* population = m_vPopulations[populationIndex];
    CAlien* alien = population->getAliens()[index];
    alien->update(alien->decideAction(gunPos, worldView()), dt);
    if (populationIndex == kRed && static_cast<const CAlien_Red*>(alien)->firedInLastUpdate())
        m_tally.addRedShot();
    reportMove(populationIndex, index);
    if (alien->getType() == TYPE_GREEN)
        spawnChild(alien, population);
    if (alien->getState() == ALIEN_ALIVE)
    {
        const int cause = deathCause(*alien);
        if (cause != CAUSE_NONE)
        {
            m_tally.addDeath(populationIndex, cause);
            alien->setState(ALIEN_DYING);
        }
    }
    else if (alien->getState() == ALIEN_DEAD)
    {
        recycle(alien, population);
        reportMove(populationIndex, index);
    }
}

// The index follows the alien, and a red alien's bullets, which its update moved.
void CGameController::reportMove(int populationIndex, int index)
{
    if (m_bReferenceQueries)
        return;
    m_index.alienMoved(populationIndex, index);
    if (populationIndex == kRed)
        m_index.redBulletsChanged(index);
}

// A dead alien is reborn in the step it is found dead, with a bred or renewed brain.
void CGameController::recycle(CAlien* alien, CAlien_Population* population)
{
    offerToPool(alien, population);
    giveBrain(alien, population, population);
    alien->reset();
    const SVector2D p = freePosition(CParams::Alien_Width, CParams::Alien_Height, alien->getId());
    alien->setPosition(p.x, p.y);
}

// A copy taken into the pool draws random numbers as the game's first copies did. Without
// evolution nothing is bred from the pool, which is kept for the record alone: its copies draw
// from a sequence of their own, so that a world's course never depends on how its pool ranks
// the dead (its half-lives, the red aliens' score), and a control run is the same control for
// every pool rule it is compared with.
void CGameController::offerToPool(CAlien* alien, CAlien_Population* population)
{
    if (m_bEvolution)
    {
        population->addToPool(alien->getBrain(), alien->getFitness());
        return;
    }
    const CRandom::CScope recordOnly(m_recordRandom);
    population->addToPool(alien->getBrain(), alien->getFitness());
}

// Random weights while the pool fills (always, without evolution); a mutated child of the
// pool once it is full.
void CGameController::giveBrain(CAlien* alien, const CAlien_Population* poolOwner, CAlien_Population* breeder)
{
    if (!m_bEvolution || !poolOwner->isPoolFull())
    {
        alien->randomizeBrain();
        return;
    }
    // Bred in the alien's own brain, which stays where it was made: a rebirth allocates
    // nothing, and evaluating a population reads memory laid out as it was built.
    breeder->breedInto(*alien->getBrain());
    alien->mutateBrain();
}

void CGameController::updateTrainee(double dt)
{
    if (!m_pTrainee)
        return;
    const SVector2D gunPos = m_pGun->getPosition();
    const std::vector<double> sensors = m_pTrainee->getSensorValues(m_vPopulations);
    if (m_iMode == MODE_TRAINING)
        m_pTrainee->learn(dt, gunPos, m_pGun->getAngle(), sensors);
    else if (m_iMode == MODE_TRAINEE_PLAYS)
        m_pTrainee->update(m_pTrainee->decideAction(gunPos, m_vPopulations), dt);
}

void CGameController::spawnChild(CAlien* parent, CAlien_Population* population)
{
    CAlien_Green* green = static_cast<CAlien_Green*>(parent);
    if (CParams::Alien_ReproductionOn == 0 || !green->isSpawnDue())
        return;
    const CRandom::CScope draws(m_random);
    // Offspring only while the zone has seats left; otherwise the population would double
    // every interval and grind the world to a halt.
    if (hasRoomFor(population))
    {
        const SVector2D pos = parent->getPosition();
        CAlien_Green* child = new CAlien_Green(pos.x, pos.y, CParams::Alien_Mass);
        giveBrain(child, population, m_vPopulations[kGreen]);
        child->reset();
        population->addAlien(child);
        if (m_bIndexCurrent && !m_bReferenceQueries)
            m_index.fileNewAliens();
    }
    green->resetSpawnTimer();
}

bool CGameController::hasRoomFor(const CAlien_Population* population) const
{
    return static_cast<long long>(population->getAliens().size()) < bandSeats();
}

// More aliens than seats still run, but they start over each other and are reborn over
// each other, and a crowded band kills them as fast as they are born.
void CGameController::warnIfCrowded() const
{
    const long long asked = static_cast<long long>(CParams::Alien_NumberOfGreen) + CParams::Alien_NumberOfRed;
    if (asked > bandSeats() && !m_bQuiet)
        std::cerr << "Warning: " << asked << " aliens are asked for, but the band seats only " << bandSeats()
                  << "; they will be placed over each other" << std::endl;
}

bool CGameController::isColliding(SRect box, bool removeHit, int excludeId, int hitterType)
{
    prepareQueries();
    return collisionCause(box, removeHit, excludeId, hitterType) != CAUSE_NONE;
}

// What an alive alien dies of this step, if anything: what it touches first, else the edge.
int CGameController::deathCause(const CAlien& alien)
{
    const SRect box = alien.getBoundingBox();
    prepareQueries();
    const int cause = collisionCause(box, true, alien.getId(), alien.getType());
    if (cause == CAUSE_NONE && isOutsideAlienZone(box))
        return CAUSE_EDGE;
    return cause;
}

int CGameController::collisionCause(SRect box, bool removeHit, int excludeId, int hitterType)
{
    if (CParams::Alien_NN_Movement_UseSensors && hitsAlien(box, excludeId))
        return CAUSE_COLLISION;
    if (hitterType != TYPE_GUN && hitsGunBullet(box, removeHit))
        return CAUSE_GUN_BULLET;
    if (hitsRedBullet(box, removeHit, hitterType))
        return CAUSE_RED_BULLET;
    if (m_pTrainee && rectsOverlap(m_pTrainee->getBoundingBox(), box))
        return CAUSE_COLLISION;
    return CAUSE_NONE;
}

// Aliens being born are not obstacles.
bool CGameController::hitsAlien(SRect box, int excludeId) const
{
    const auto blocks = [&](const CAlien& alien) {
        return alien.getId() != excludeId && alien.getState() != ALIEN_BEING_BORN &&
               rectsOverlap(alien.getBoundingBox(), box);
    };
    if (m_bReferenceQueries)
    {
        for (const CAlien_Population* population : m_vPopulations)
            for (const CAlien* alien : population->getAliens())
                if (blocks(*alien))
                    return true;
        return false;
    }
    bool hit = false;
    m_index.forEachAlienNear(box, [&](int, int, const CAlien& alien) { hit = hit || blocks(alien); });
    return hit;
}

bool CGameController::hitsGunBullet(SRect box, bool removeHit)
{
    const int first = m_bReferenceQueries ? firstGunBulletOnTheWalk(box) : m_index.firstGunBulletOverlapping(box);
    if (first < 0)
        return false;
    if (removeHit)
    {
        m_pGun->removeBullet(first);
        if (!m_bReferenceQueries)
            m_index.gunBulletsChanged();
    }
    return true;
}

int CGameController::firstGunBulletOnTheWalk(SRect box) const
{
    const std::vector<CBullet*>& bullets = m_pGun->getBullets();
    for (int i = 0; i < static_cast<int>(bullets.size()); ++i)
        if (rectsOverlap(bullets[i]->getRect(), box))
            return i;
    return -1;
}

bool CGameController::hitsRedBullet(SRect box, bool removeHit, int hitterType)
{
    int alien = -1;
    int bullet = -1;
    const bool hit = m_bReferenceQueries ? firstRedBulletOnTheWalk(box, alien, bullet)
                                         : m_index.firstRedBulletOverlapping(box, alien, bullet);
    if (!hit)
        return false;
    if (removeHit)
    {
        CAlien_Red* red = static_cast<CAlien_Red*>(m_vPopulations[kRed]->getAliens()[alien]);
        red->removeBullet(bullet);
        red->addHit(hitterType);
        if (!m_bReferenceQueries)
            m_index.redBulletsChanged(alien);
    }
    return true;
}

bool CGameController::firstRedBulletOnTheWalk(SRect box, int& alien, int& bullet) const
{
    const std::vector<CAlien*>& reds = m_vPopulations[kRed]->getAliens();
    for (alien = 0; alien < static_cast<int>(reds.size()); ++alien)
    {
        const std::vector<CBullet*>& bullets = static_cast<const CAlien_Red*>(reds[alien])->getBullets();
        for (bullet = 0; bullet < static_cast<int>(bullets.size()); ++bullet)
            if (rectsOverlap(bullets[bullet]->getRect(), box))
                return true;
    }
    return false;
}

// A newborn is placed away from every alien on screen, those being born too, though the
// world step lets aliens being born pass through each other: placed over one another, two
// newborns would both die the moment they came alive.
bool CGameController::isFreePlace(SRect box, int excludeId)
{
    const auto occupies = [&](const CAlien& alien) {
        return alien.isActive() && alien.getId() != excludeId && rectsOverlap(alien.getBoundingBox(), box);
    };
    prepareQueries(); // an offspring born earlier in this step is filed before it is looked for
    bool occupied = false;
    worldView().forEachAlienNear(box, [&](int, int, const CAlien& alien) { occupied = occupied || occupies(alien); });
    return !occupied && collisionCause(box, false, -1, TYPE_NONE) == CAUSE_NONE;
}

bool CGameController::isOutsideAlienZone(SRect box) const
{
    return box.bottom < CParams::Window_BottomMargin || box.top > CParams::Window_Height - CParams::Window_TopMargin;
}

SVector2D CGameController::getRandomFreePosition(double width, double height)
{
    const CRandom::CScope draws(m_random);
    return freePosition(width, height, -1);
}

SVector2D CGameController::freePosition(double width, double height, int excludeId)
{
    prepareQueries();
    m_llTriesLeft += TriesPerPlace;
    SVector2D position(0, 0);
    for (int tries = 0; tries < MaxTriesPerSearch && m_llTriesLeft > 0; ++tries, --m_llTriesLeft)
    {
        position.x = RandInt((int)width, (int)(CParams::Window_Width - width)); // x drawn first
        position.y = RandInt((int)(CParams::Window_BottomMargin + height),
                             (int)(CParams::Window_Height - CParams::Window_TopMargin - height));
        if (isFreePlace(rectAround(position.x, position.y, width, height), excludeId))
            return position;
    }
    if (!m_bToldNoFreePlace && !m_bQuiet)
        std::cerr << "No free place for a new alien; placing it over another" << std::endl;
    m_bToldNoFreePlace = true;
    return position;
}

void CGameController::setKeyEvent(int keyEvent)
{
    SAction action(ACTION_UNDEFINED, ACTION_UNDEFINED);
    if (m_iMode == MODE_PLAYER)
    {
        // The gun only moves along x: up and down arrows would freeze it.
        if (keyEvent == ACTION_UP || keyEvent == ACTION_DOWN)
            return;
        if (keyEvent == ACTION_FIRE)
            action.fire = ACTION_FIRE;
        else
            action.movement = keyEvent;
        m_pGun->setAction(action);
    }
    else if (m_iMode >= 2 && m_iMode <= 4)
        std::cerr << "check the TODO list in GameController::setKeyEvent" << std::endl;
}
