#include "render/cbatchplan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <vector>

// Sprites on a small canvas of 8-bit pixels, composited as GL blends them: each sprite takes
// every pixel it covers to pixel × mask + colour, clamped. Its mask and colour differ from
// pixel to pixel, and no sprite leaves a pixel alone, so any change in the order in which a
// pixel sees its sprites shows.
namespace
{
constexpr int kWidth = 64;
constexpr int kHeight = 48;

struct SSprite
{
    int texture;
    int left, bottom, right, top; // covers the pixels left to right - 1 and bottom to top - 1
    std::vector<int> masks, colours;
};

using Canvas = std::vector<int>;

int covered(const SSprite& s, int x, int y) { return (y - s.bottom) * (s.right - s.left) + (x - s.left); }

void maskPass(Canvas& canvas, const SSprite& s)
{
    for (int y = s.bottom; y < s.top; ++y)
        for (int x = s.left; x < s.right; ++x)
            canvas[y * kWidth + x] = canvas[y * kWidth + x] * s.masks[covered(s, x, y)] / 255;
}

void colourPass(Canvas& canvas, const SSprite& s)
{
    for (int y = s.bottom; y < s.top; ++y)
        for (int x = s.left; x < s.right; ++x)
            canvas[y * kWidth + x] = std::min(255, canvas[y * kWidth + x] + s.colours[covered(s, x, y)]);
}

std::vector<SSprite> randomSprites(int count, int textures)
{
    std::vector<SSprite> sprites;
    for (int i = 0; i < count; ++i)
    {
        SSprite s;
        s.texture = std::rand() % textures;
        s.left = std::rand() % kWidth;
        s.bottom = std::rand() % kHeight;
        s.right = std::min(kWidth, s.left + 1 + std::rand() % 16);
        s.top = std::min(kHeight, s.bottom + 1 + std::rand() % 12);
        for (int p = 0; p < (s.right - s.left) * (s.top - s.bottom); ++p)
        {
            s.masks.push_back(1 + std::rand() % 254);
            s.colours.push_back(1 + std::rand() % 100);
        }
        sprites.push_back(s);
    }
    return sprites;
}

Canvas startingCanvas()
{
    Canvas canvas(kWidth * kHeight);
    for (int& pixel : canvas)
        pixel = std::rand() % 256;
    return canvas;
}

Canvas oneByOne(Canvas canvas, const std::vector<SSprite>& sprites)
{
    for (const SSprite& s : sprites)
    {
        maskPass(canvas, s);
        colourPass(canvas, s);
    }
    return canvas;
}

// Batch by batch, all masks of a batch, then all its colours.
Canvas batched(Canvas canvas, const std::vector<SSprite>& sprites, const std::vector<int>& batchOf, int batches)
{
    for (int batch = 0; batch < batches; ++batch)
    {
        for (size_t i = 0; i < sprites.size(); ++i)
            if (batchOf[i] == batch)
                maskPass(canvas, sprites[i]);
        for (size_t i = 0; i < sprites.size(); ++i)
            if (batchOf[i] == batch)
                colourPass(canvas, sprites[i]);
    }
    return canvas;
}

std::vector<int> plan(CBatchPlan& batchPlan, const std::vector<SSprite>& sprites)
{
    batchPlan.reset(kWidth, kHeight);
    std::vector<int> batchOf;
    for (const SSprite& s : sprites)
        batchOf.push_back(batchPlan.add(s.texture, static_cast<float>(s.left), static_cast<float>(s.bottom),
                                        static_cast<float>(s.right), static_cast<float>(s.top)));
    return batchOf;
}

bool share(const SSprite& a, const SSprite& b)
{
    return a.left < b.right && b.left < a.right && a.bottom < b.top && b.bottom < a.top;
}
} // namespace

TEST(CBatchPlanTest, BatchesGiveThePictureOfSpritesDrawnOneByOne)
{
    std::srand(11);
    CBatchPlan batchPlan; // one plan for every round: each starts afresh
    int naiveDiffers = 0, fewerBatches = 0;
    for (int round = 0; round < 200; ++round)
    {
        const std::vector<SSprite> sprites = randomSprites(40, 1 + round % 4);
        const std::vector<int> batchOf = plan(batchPlan, sprites);
        const Canvas canvas = startingCanvas();
        const Canvas expected = oneByOne(canvas, sprites);
        ASSERT_EQ(batched(canvas, sprites, batchOf, batchPlan.batchCount()), expected) << "round " << round;
        fewerBatches += batchPlan.batchCount() < static_cast<int>(sprites.size());
        // One batch a texture, overlaps or not: the picture this plan exists to avoid.
        std::vector<int> byTexture;
        for (const SSprite& s : sprites)
            byTexture.push_back(s.texture);
        naiveDiffers += batched(canvas, sprites, byTexture, 4) != expected;
    }
    EXPECT_EQ(fewerBatches, 200);
    EXPECT_GT(naiveDiffers, 100);
}

TEST(CBatchPlanTest, ABatchHoldsOneTextureAndSpritesThatShareAPixelKeepTheirOrder)
{
    std::srand(12);
    CBatchPlan batchPlan;
    for (int round = 0; round < 100; ++round)
    {
        const std::vector<SSprite> sprites = randomSprites(60, 3);
        const std::vector<int> batchOf = plan(batchPlan, sprites);
        for (size_t j = 0; j < sprites.size(); ++j)
        {
            EXPECT_EQ(batchPlan.batchTexture(batchOf[j]), sprites[j].texture);
            for (size_t i = 0; i < j; ++i)
                EXPECT_TRUE(!share(sprites[i], sprites[j]) || batchOf[i] < batchOf[j])
                    << "round " << round << ", sprites " << i << " and " << j;
        }
    }
}

TEST(CBatchPlanTest, SpritesApartShareABatchOfTheirTextureAndNeighboursWithinAPixelDoNot)
{
    CBatchPlan batchPlan;
    batchPlan.reset(200, 100);
    // Two textures in turn, far apart: one batch each, whatever the order.
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(batchPlan.add(i % 2, 30.0f * i, 10, 30.0f * i + 10, 20), i % 2);
    EXPECT_EQ(batchPlan.batchCount(), 2);
    // Half a pixel right of the first: it may share the edge pixels, so it waits.
    EXPECT_EQ(batchPlan.add(0, 10.5f, 10, 20, 20), 2);
    // Another texture on it comes later still; one far off joins the earlier batch.
    EXPECT_EQ(batchPlan.add(1, 12, 12, 18, 18), 3);
    EXPECT_EQ(batchPlan.add(1, 150, 60, 170, 80), 3);
    EXPECT_EQ(batchPlan.add(0, 150, 60, 170, 80), 4);
    EXPECT_EQ(batchPlan.batchTexture(4), 0);
}

TEST(CBatchPlanTest, BoxesBeyondTheAreaCoverNothingThereAndNonBoxesCoverEverything)
{
    CBatchPlan batchPlan;
    batchPlan.reset(100, 50);
    EXPECT_EQ(batchPlan.add(0, 10, 10, 20, 20), 0);
    // Wholly outside, even far: nothing to share with anything.
    EXPECT_EQ(batchPlan.add(1, -1e30f, 10, -500, 20), 1);
    EXPECT_EQ(batchPlan.add(0, 1e30f, -1e30f, 2e30f, 1e30f), 0);
    // Reaching in from outside, it shares what it reaches.
    EXPECT_EQ(batchPlan.add(0, -1e30f, -1e30f, 15, 15), 2);
    const float nan = std::nanf("");
    EXPECT_EQ(batchPlan.add(1, nan, 0, 5, 5), 3);
    EXPECT_EQ(batchPlan.add(1, 90, 40, 95, 45), 4);
    EXPECT_EQ(batchPlan.add(2, 60, 30, 50, 40), 5); // left > right
    EXPECT_EQ(batchPlan.add(2, 0, 0, 1, 1), 6);
    // A fresh start forgets every batch.
    batchPlan.reset(100, 50);
    EXPECT_EQ(batchPlan.batchCount(), 0);
    EXPECT_EQ(batchPlan.add(2, 0, 0, 1, 1), 0);
}
