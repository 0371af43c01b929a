#include "render/cbitmap.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

// The committed bitmaps of graphics/: every sprite is drawn as framebuffer x mask + colour, so
// a mask must be purely black and white and its colour picture black exactly where it is white.
namespace
{
struct SSpritePair
{
    const char* pColour;
    const char* pMask;
};

// Names the pair in test output instead of dumping its bytes.
void PrintTo(const SSpritePair& pair, std::ostream* out) { *out << pair.pColour; }

CBitmap readPicture(const std::string& name)
{
    CBitmap bitmap;
    std::string error;
    EXPECT_TRUE(bitmap.readFile(KA_SOURCE_DIR "/graphics/" + name + ".bmp", error)) << name << ": " << error;
    return bitmap;
}

bool isBlack(const unsigned char* pixel) { return pixel[0] == 0 && pixel[1] == 0 && pixel[2] == 0; }
bool isWhite(const unsigned char* pixel) { return pixel[0] == 255 && pixel[1] == 255 && pixel[2] == 255; }

class GraphicsTest : public testing::TestWithParam<SSpritePair>
{
};

TEST_P(GraphicsTest, MaskIsBlackExactlyWhereTheColourPictureIsNot)
{
    const CBitmap colour = readPicture(GetParam().pColour);
    const CBitmap mask = readPicture(GetParam().pMask);
    ASSERT_GT(colour.getWidth(), 0);
    ASSERT_EQ(mask.getWidth(), colour.getWidth());
    ASSERT_EQ(mask.getHeight(), colour.getHeight());
    int opaque = 0, clear = 0;
    for (int y = 0; y < mask.getHeight(); ++y)
        for (int x = 0; x < mask.getWidth(); ++x)
        {
            const unsigned char* m = mask.row(y) + x * 3;
            const unsigned char* c = colour.row(y) + x * 3;
            ASSERT_TRUE(isBlack(m) || isWhite(m)) << "mask pixel " << x << "," << y;
            ASSERT_EQ(isBlack(c), isWhite(m)) << "colour pixel " << x << "," << y;
            ++(isBlack(m) ? opaque : clear);
        }
    EXPECT_GT(opaque, 0); // the sprite shows
    EXPECT_GT(clear, 0);  // and the background shows around it
}

INSTANTIATE_TEST_SUITE_P(
    Sprites, GraphicsTest,
    testing::Values(SSpritePair{"Text_AlienShip_General_BeingBorn", "Text_AlienShip_General_BeingBorn_Mask"},
                    SSpritePair{"Text_AlienShip_Red_Alive", "Text_AlienShip_Red_Alive_Mask"},
                    SSpritePair{"alienShip1", "alienShip1_mask"},
                    SSpritePair{"Text_AlienShip_Green_Dying01", "Text_AlienShip_Green_Dying01_Mask"},
                    SSpritePair{"Text_AlienShip_Green_Dying02", "Text_AlienShip_Green_Dying02_Mask"},
                    SSpritePair{"Text_AlienShip_Green_Dying03", "Text_AlienShip_Green_Dying03_Mask"},
                    SSpritePair{"gun", "gun_mask"}, SSpritePair{"bullet", "bullet_mask"}),
    [](const testing::TestParamInfo<SSpritePair>& info) { return std::string(info.param.pColour); });

TEST(GraphicsFileTest, PicturesWithoutMasksAreReadable)
{
    for (const char* name : {"bckgrnd", "Text_Undefined"})
        EXPECT_GT(readPicture(name).getHeight(), 0) << name;
}
} // namespace
