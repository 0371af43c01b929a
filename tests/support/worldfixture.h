#pragma once

#include <gtest/gtest.h>

#include <cstdlib>

#include "app/cparams.h"
#include "brain/animationtables.h"

// The shipped parameters and built animation tables, restored after every test.
class CWorldTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        CParams::resetToInitialValues();
        ASSERT_TRUE(CParams().loadParameters(KA_SOURCE_DIR "/params.ini"));
        buildAnimationTables();
        std::srand(1);
    }

    void TearDown() override { CParams::resetToInitialValues(); }

    // Movement networks of 2 inputs: the gun distances only.
    static void sensorsOff()
    {
        CParams::Alien_NN_Movement_UseSensors = 0;
        CParams::Alien_NN_Movement_GunBullets = 0;
        CParams::Alien_NN_Movement_NumInputs = 2;
    }
};
