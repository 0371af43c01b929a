#include <cmath>
#include <cstdint>
#include <cstring>

#include "support/randomplayer.h"
#include "support/worldfixture.h"
#include "support/worldsnapshot.h"
#include "world/cgamecontroller.h"
#include "world/cgun.h"
#include "world/cworldindex.h"
#include "world/cworldview.h"

namespace
{
// A world's course: a fingerprint of its whole state after init and after every step, and
// its last state in full.
struct SCourse
{
    std::vector<uint64_t> vFingerprints;
    std::vector<double> vLastState;
    int iDeaths = 0;
};

SCourse runWorld(bool reference, int steps)
{
    CGameController controller;
    controller.setSeed(31);
    controller.setReferenceQueries(reference);
    controller.init();
    controller.getGun()->toggleFiring();
    CRandomPlayer player(5);
    SCourse course;
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    for (int step = 0; step <= steps; ++step)
    {
        if (step > 0)
        {
            player.play(controller);
            controller.update(dt);
        }
        course.vFingerprints.push_back(fingerprint(worldSnapshot(controller)));
        for (CAlien_Population* population : controller.getPopulations())
        {
            course.iDeaths += population->getNumDead();
            population->setNumDead(0);
        }
    }
    course.vLastState = worldSnapshot(controller);
    return course;
}

struct SWorldCase
{
    const char* szName;
    void (*setUp)();
    int iSteps;
};

void window(int width, int height, int green, int red)
{
    CParams::Window_Width = width;
    CParams::Window_Height = height;
    CParams::Alien_NumberOfGreen = green;
    CParams::Alien_NumberOfRed = red;
    CParams::updateDerived();
}

const SWorldCase kCases[] = {
    {"Shipped", [] {}, 2000},
    {"OffspringOn",
     [] {
         CParams::Alien_ReproductionOn = 1;
         CParams::Alien_Green_SpawnInterval = 3000;
     },
     2000},
    {"SensorsOff",
     [] {
         CParams::Alien_NN_Movement_UseSensors = 0;
         CParams::Alien_NN_Movement_GunBullets = 0;
         CParams::Alien_NN_Movement_NumInputs = 2;
     },
     2000},
    {"GunBulletsSeen",
     [] {
         CParams::Alien_NN_Movement_GunBullets = 3;
         CParams::Alien_NN_Movement_NumInputs = 12;
         CParams::Gun_FireInterval = 2; // many bullets, each seen by several aliens
     },
     2000},
    {"CrowdedBand", [] { window(800, 600, 70, 40); }, 1000},
    {"TinyWindow",
     [] {
         window(200, 320, 4, 2);
         CParams::Gun_Width = 40;
     },
     2000},
    {"LargeWindow", [] { window(4000, 3000, 400, 200); }, 300},
    {"ThreeThousandAliens", [] { window(8000, 4300, 2000, 1000); }, 60},
};

class CIndexAgainstTheWalkTest : public CWorldTest, public ::testing::WithParamInterface<SWorldCase>
{
};

// Every question of the world step answered through the index gives the world exactly the
// course the straightforward walks give it, step by step, to the last bit.
TEST_P(CIndexAgainstTheWalkTest, IndexedWorldFollowsTheWalkedWorldBitForBit)
{
    GetParam().setUp();
    const SCourse walked = runWorld(true, GetParam().iSteps);
    const SCourse indexed = runWorld(false, GetParam().iSteps);
    ASSERT_EQ(walked.vFingerprints.size(), indexed.vFingerprints.size());
    for (size_t step = 0; step < walked.vFingerprints.size(); ++step)
        ASSERT_EQ(walked.vFingerprints[step], indexed.vFingerprints[step]) << "the worlds part at step " << step;
    EXPECT_EQ(firstDifference(walked.vLastState, indexed.vLastState), -1);
    // The run went through deaths and rebirths, so the index had moves to follow.
    EXPECT_GT(walked.iDeaths, 0);
}

INSTANTIATE_TEST_SUITE_P(EachWorld, CIndexAgainstTheWalkTest, ::testing::ValuesIn(kCases),
                         [](const ::testing::TestParamInfo<SWorldCase>& info) { return info.param.szName; });
} // namespace

namespace
{
class CWorldIndexTest : public CWorldTest
{
protected:
    void SetUp() override
    {
        CWorldTest::SetUp();
        CParams::Gun_FireInterval = 0;
        m_controller.setSeed(3);
        m_controller.init();
        m_populations = m_controller.getPopulations();
    }

    CGameController m_controller;
    PopulationList m_populations;
};

// Where several objects touch a box, the order of the walks decides which one a query
// names: the last alien of the list, the first of the gun's bullets, the first red alien's
// first bullet.
TEST_F(CWorldIndexTest, QueriesNameTheObjectTheWalkWouldMeet)
{
    const std::vector<CAlien*>& greens = m_populations[1]->getAliens();
    for (int i : {0, 3, 5})
        greens[i]->setPosition(400, 300);
    CGun& gun = *m_controller.getGun();
    gun.toggleFiring();
    for (int shot = 0; shot < 3; ++shot)
        gun.update(SAction(ACTION_RIGHT, ACTION_UNDEFINED), 0);
    ASSERT_EQ(gun.getBullets().size(), 3u);
    const std::vector<CAlien*>& reds = m_populations[0]->getAliens();
    for (int r : {0, 1})
    {
        reds[r]->setPosition(600, 400);
        for (int shot = 0; shot < 2; ++shot)
            reds[r]->update(SAction(ACTION_UP, ACTION_FIRE), 0);
    }
    CWorldIndex index;
    index.sync(m_populations, gun);
    const CWorldView indexed(m_populations, &index);
    const CWorldView walked(m_populations);

    const SRect aroundGreens = rectAround(400, 300, 10, 10);
    EXPECT_EQ(indexed.lastOverlapping(1, aroundGreens, -1), greens[5]);
    EXPECT_EQ(walked.lastOverlapping(1, aroundGreens, -1), greens[5]);
    EXPECT_EQ(indexed.lastOverlapping(1, aroundGreens, greens[5]->getId()), greens[3]);
    EXPECT_EQ(indexed.lastOverlapping(0, aroundGreens, -1), nullptr);

    const SRect aroundGunBullets = gun.getBullets()[0]->getRect();
    EXPECT_EQ(index.firstGunBulletOverlapping(aroundGunBullets), 0);
    gun.getBullets()[0]->move(1000); // far up, out of the box
    index.gunBulletsChanged();
    EXPECT_EQ(index.firstGunBulletOverlapping(aroundGunBullets), 1);

    const SRect aroundRedBullets = rectAround(600, 400, 200, 200);
    int alien = -1, bullet = -1;
    ASSERT_TRUE(index.firstRedBulletOverlapping(aroundRedBullets, alien, bullet));
    EXPECT_EQ(alien, 0);
    EXPECT_EQ(bullet, 0);
    static_cast<CAlien_Red*>(reds[0])->removeBullet(0);
    index.redBulletsChanged(0);
    ASSERT_TRUE(index.firstRedBulletOverlapping(aroundRedBullets, alien, bullet));
    EXPECT_EQ(alien, 0);
    EXPECT_EQ(bullet, 0);
    static_cast<CAlien_Red*>(reds[0])->removeBullet(0);
    index.redBulletsChanged(0);
    ASSERT_TRUE(index.firstRedBulletOverlapping(aroundRedBullets, alien, bullet));
    EXPECT_EQ(alien, 1);
    EXPECT_EQ(bullet, 0);
}

// Aliens moved from outside a step (a test, a loaded game) are seen where they now are.
TEST_F(CWorldIndexTest, QueriesFromOutsideAStepSeeTheWorldAsItIs)
{
    CAlien* green = m_populations[1]->getAliens()[0];
    green->setState(ALIEN_ALIVE);
    green->setPosition(100, 250);
    EXPECT_TRUE(m_controller.isColliding(rectAround(100, 250, 4, 4), false, -1, TYPE_NONE));
    green->setPosition(700, 450);
    EXPECT_FALSE(m_controller.isColliding(rectAround(100, 250, 4, 4), false, -1, TYPE_NONE));
    EXPECT_TRUE(m_controller.isColliding(rectAround(700, 450, 4, 4), false, -1, TYPE_NONE));
}

// An alien just left of a cell's edge (x = 256 less one rounding step, cells 128 wide) has a
// box whose right side rounds onto x = 272, touching a box that starts there; the search
// reached exactly half a width to the left, to x = 256, and missed it in the cell before.
TEST_F(CWorldIndexTest, TouchingBoxLostToRoundingIsMended)
{
    ASSERT_EQ(CParams::Alien_Width, 32);
    ASSERT_EQ(CParams::Alien_Height, 24);
    for (CAlien_Population* population : m_populations)
        for (CAlien* alien : population->getAliens())
            alien->setPosition(700, 200); // out of the way
    CAlien* green = m_populations[1]->getAliens()[0];
    green->setState(ALIEN_ALIVE);
    green->setPosition(std::nextafter(256.0, 0.0), 312);
    ASSERT_EQ(green->getBoundingBox().right, 272.0);
    const SRect touching(272, 303, 304, 279);
    m_controller.setReferenceQueries(true);
    ASSERT_TRUE(m_controller.isColliding(touching, false, -1, TYPE_NONE)) << "the walk finds it";
    m_controller.setReferenceQueries(false);
    EXPECT_TRUE(m_controller.isColliding(touching, false, -1, TYPE_NONE));
}
} // namespace

namespace
{
// Nearest aliens through the index, ties included (aliens on a lattice, some at the same
// place), are those the walk over every alien finds, in the same order.
TEST_F(CWorldIndexTest, ClosestThroughTheIndexAreTheWalks)
{
    const double dt = 1000.0 / CParams::Game_FramesPerSecond;
    for (int step = 0; step < 200; ++step)
        m_controller.update(dt);
    const std::vector<CAlien*>& greens = m_populations[1]->getAliens();
    ASSERT_GE(greens.size(), 12u);
    for (int i = 0; i < 8; ++i)
        greens[i]->setPosition(200 + 40 * (i % 4), 250 + 40 * (i / 4 % 2));
    greens[8]->setPosition(200, 250);
    CWorldIndex index;
    index.sync(m_populations, *m_controller.getGun());
    const CWorldView indexed(m_populations, &index);
    unsigned others = 0;
    for (const CAlien_Population* population : m_populations)
        others += static_cast<unsigned>(population->getAliens().size());
    others -= 2; // the alien itself and the one on its place
    for (int i : {0, 1, 5, 11})
        for (unsigned n : {1u, 3u, 7u, others})
            EXPECT_EQ(indexed.getClosestN(*greens[i], n), getClosestN(greens[i], m_populations.cbegin(), n))
                << "alien " << i << ", n " << n;
}
} // namespace
