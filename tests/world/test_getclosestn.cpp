#include "aliens/calien_green.h"
#include "brain/calien_population.h"
#include "support/worldfixture.h"
#include "world/utils.h"

namespace
{
class CGetClosestNTest : public CWorldTest
{
protected:
    void SetUp() override
    {
        CWorldTest::SetUp();
        const double xs[] = {100, 130, 90, 100.5, 160};
        for (double x : xs)
            m_vAliens.push_back(std::make_unique<CAlien_Green>(x, 300, 1));
        m_reds.addAlien(m_vAliens[1].get());
        m_greens.addAlien(m_vAliens[0].get()); // the query alien itself
        m_greens.addAlien(m_vAliens[2].get());
        m_greens.addAlien(m_vAliens[3].get()); // within sqrt(0.5): never returned
        m_blues.addAlien(m_vAliens[4].get());
    }

    std::vector<CAlien*> closest(unsigned n) { return getClosestN(m_vAliens[0].get(), m_populations.cbegin(), n); }

    std::vector<std::unique_ptr<CAlien_Green>> m_vAliens;
    CAlien_Population m_reds, m_greens, m_blues;
    std::vector<CAlien_Population*> m_populations{&m_reds, &m_greens, &m_blues};
};

TEST_F(CGetClosestNTest, NearestFirstOverThreePopulationsLeavingOutTheAlienItself)
{
    EXPECT_TRUE(closest(0).empty());
    const std::vector<CAlien*> all = closest(3);
    const std::vector<CAlien*> expected{m_vAliens[2].get(), m_vAliens[1].get(), m_vAliens[4].get()};
    EXPECT_EQ(all, expected);
    EXPECT_EQ(closest(1), std::vector<CAlien*>{m_vAliens[2].get()});
}

TEST_F(CGetClosestNTest, EqualDistancesKeepPopulationThenListOrder)
{
    m_vAliens[2]->setPosition(70, 300); // 30 away, like the red one at 130
    const std::vector<CAlien*> two = closest(2);
    EXPECT_EQ(two, (std::vector<CAlien*>{m_vAliens[1].get(), m_vAliens[2].get()}));
}

TEST_F(CGetClosestNTest, TooFewAliensEndTheProgram)
{
    EXPECT_EXIT(closest(4), ::testing::ExitedWithCode(255),
                "Number of aliens in the world is less than n\nError in utils.cpp: getClosestN\\(\\)");
}
} // namespace
