#include "brain/animationtables.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/cparams.h"

namespace
{
struct SFrame
{
    int state;
    int frame;
    int textureId;
    double time; // -1 stands for the explosion frame time
};

// Every filled frame of one kind, with the literal texture ids the renderer loads.
std::vector<SFrame> expectedFrames(int aliveTextureId)
{
    return {
        {0, 0, 8, -9999.0},
        {1, 0, aliveTextureId, -9999.0},
        {3, 0, 22, -1},
        {3, 1, 24, -1},
        {3, 2, 26, -9999.0},
        {4, 0, 0, -9999.0},
    };
}

class CAnimationTablesTest : public ::testing::Test
{
protected:
    void TearDown() override { CParams::resetToInitialValues(); }

    static void expectKind(int kind, int aliveTextureId, double explosionTime)
    {
        for (const SFrame& f : expectedFrames(aliveTextureId))
        {
            SCOPED_TRACE(testing::Message() << "kind " << kind << " state " << f.state << " frame " << f.frame);
            EXPECT_EQ(g_iAnimTextureId[kind][f.state][f.frame], f.textureId);
            EXPECT_EQ(g_dAnimFrameTime[kind][f.state][f.frame], f.time == -1 ? explosionTime : f.time);
        }
    }
};

TEST_F(CAnimationTablesTest, BothKindsHoldTheirFramesAndDifferOnlyInTheLivingPicture)
{
    CParams::Alien_ExplosionFrameTime = 40;
    buildAnimationTables();
    EXPECT_TRUE(g_bAnimTablesBuilt);
    expectKind(0, 20, 40);
    expectKind(1, 10, 40);
}

TEST_F(CAnimationTablesTest, ExplosionTimeIsReadOnlyWhenBuilt)
{
    CParams::Alien_ExplosionFrameTime = 40;
    buildAnimationTables();
    CParams::Alien_ExplosionFrameTime = 75;
    expectKind(0, 20, 40);
    expectKind(1, 10, 40);

    buildAnimationTables();
    expectKind(0, 20, 75);
    expectKind(1, 10, 75);
}
}
