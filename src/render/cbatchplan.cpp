#include "render/cbatchplan.h"

#include <algorithm>

#include "files/kassert.h"

void CBatchPlan::reset(int width, int height)
{
    m_iColumns = (std::max(width, 0) + CellSize - 1) / CellSize;
    m_iRows = (std::max(height, 0) + CellSize - 1) / CellSize;
    m_viCells.assign(static_cast<size_t>(m_iColumns) * static_cast<size_t>(m_iRows), -1);
    m_viBatchTexture.clear();
    std::fill(m_viLastBatch.begin(), m_viLastBatch.end(), -1);
}

void CBatchPlan::cellRange(float low, float high, int count, int& first, int& last)
{
    // The rasterizer rounds corners far finer than a pixel, and a pixel counts as covered
    // when its centre is inside: one pixel more on each side holds every pixel covered.
    low -= 1.0f;
    high += 1.0f;
    const float end = static_cast<float>(count) * CellSize;
    first = low <= 0.0f ? 0 : low >= end ? count : static_cast<int>(low) / CellSize;
    last = high < 0.0f ? -1 : high >= end ? count - 1 : static_cast<int>(high) / CellSize;
}

int CBatchPlan::add(int texture, float left, float bottom, float right, float top)
{
    KA_ASSERT(texture >= 0);
    int firstColumn = 0, lastColumn = m_iColumns - 1, firstRow = 0, lastRow = m_iRows - 1;
    if (left <= right && bottom <= top)
    {
        cellRange(left, right, m_iColumns, firstColumn, lastColumn);
        cellRange(bottom, top, m_iRows, firstRow, lastRow);
    }
    int latest = -1; // the latest batch that may share a pixel with this sprite
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            latest = std::max(latest, m_viCells[static_cast<size_t>(row) * m_iColumns + column]);
    if (static_cast<size_t>(texture) >= m_viLastBatch.size())
        m_viLastBatch.resize(static_cast<size_t>(texture) + 1, -1);
    int& batch = m_viLastBatch[static_cast<size_t>(texture)];
    if (batch <= latest)
    {
        batch = batchCount();
        m_viBatchTexture.push_back(texture);
    }
    for (int row = firstRow; row <= lastRow; ++row)
        for (int column = firstColumn; column <= lastColumn; ++column)
            m_viCells[static_cast<size_t>(row) * m_iColumns + column] = batch;
    return batch;
}
