#pragma once

#include <vector>

// Puts sprites, given in drawing order, into batches such that drawing the batches in order,
// each as all its sprites' mask quads and then all their colour quads, gives the picture of
// drawing the sprites one by one, mask then colour. A pixel ends as its starting value taken
// through every sprite that covers it in turn (× mask, + colour), and these steps do not
// commute; so the plan keeps two rules:
// - the sprites of a batch share one texture and never cover a common pixel;
// - of two sprites that may cover a common pixel, the earlier one goes to an earlier batch.
// Each pixel then sees the same sprites in the same order. A sprite joins the latest batch of
// its texture when no sprite of that batch or of any later one may share a pixel with it,
// and opens a new batch otherwise. Sharing is judged on a grid of cells: sprites whose
// boxes, widened by one pixel, meet in a cell count as sharing, so a batch may be split
// more often than needed, but sprites that share a pixel are never put together.
class CBatchPlan
{
public:
    // Starts an empty plan for an area of width × height pixels, the only pixels sprites can cover.
    void reset(int width, int height);
    // Files a sprite that covers pixels only within the box (area coordinates, in pixels;
    // it may reach beyond the area) and returns its batch. Texture ids are at least 0. A box
    // that is not one (a NaN or left > right) counts as covering the whole area.
    int add(int texture, float left, float bottom, float right, float top);

    int batchCount() const { return static_cast<int>(m_viBatchTexture.size()); }
    int batchTexture(int batch) const { return m_viBatchTexture[batch]; }

private:
    static constexpr int CellSize = 8;

    // The cells from the one holding low to the one holding high, within count cells.
    static void cellRange(float low, float high, int count, int& first, int& last);

    int m_iColumns = 0;
    int m_iRows = 0;
    std::vector<int> m_viCells;        // per cell: the latest batch with a sprite there, or -1
    std::vector<int> m_viBatchTexture; // per batch
    std::vector<int> m_viLastBatch;    // per texture id: its latest batch, or -1
};
